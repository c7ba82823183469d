#include "surface/panelreadhooks.h"

#include "surface/paneleditor.h"

void PanelReadHooks::controlRead(ControlRecord &record) { m_panel.setControlGraphics(record); }

void PanelReadHooks::panelRead() { m_panel.setPanelGraphics(); }

void PanelReadHooks::pasteStarting() {
  m_panel.canvasGotFocus();
  m_panel.setNeedToSave(true);
}

void PanelReadHooks::controlPasted(ControlRecord &record) {
  m_panel.setControlGraphics(record);
  if (record.control) m_panel.controlGotFocus(record.control);
}
