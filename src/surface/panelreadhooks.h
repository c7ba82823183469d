#pragma once

#include "panelfile/readhooks.h"
#include "surface/paneleditor.h"

// Shows what the reader and paste add to a panel: graphics of each control
// and of the panel, the selection of pasted controls. The hooks hold one
// change batch of the panel window while they live, so that a read or paste
// of thousands of controls tells the views once, when the hooks go away,
// rather than once per control.
class PanelReadHooks : public ReadHooks {
 public:
  explicit PanelReadHooks(PanelEditor &panel) : m_panel(panel), m_batch(panel) {}
  void controlRead(ControlRecord &record) override;
  void panelRead() override;
  void pasteStarting() override;
  void controlPasted(ControlRecord &record) override;

 private:
  PanelEditor &m_panel;
  PanelEditor::Batch m_batch;
};
