#include "surface/panelreadhooks.h"

#include "surface/frmpanel.h"

void PanelReadHooks::controlRead(clsControlDetails &record) { m_panel.SetControlGraphics(record); }

void PanelReadHooks::panelRead() { m_panel.SetPanelGraphics(); }

void PanelReadHooks::pasteStarting() {
  m_panel.CanvasGotFocus();
  m_panel.setNeedToSave(true);
}

void PanelReadHooks::controlPasted(clsControlDetails &record) {
  m_panel.SetControlGraphics(record);
  if (record.cntrlObject) m_panel.ControlGotFocus(record.cntrlObject);
}
