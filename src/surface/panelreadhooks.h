#pragma once

#include "panelfile/readhooks.h"

class frmPanel;

// Shows what the reader and paste add to a panel: graphics of each control
// and of the panel, the selection of pasted controls.
class PanelReadHooks : public ReadHooks {
 public:
  explicit PanelReadHooks(frmPanel &panel) : m_panel(panel) {}
  void controlRead(clsControlDetails &record) override;
  void panelRead() override;
  void pasteStarting() override;
  void controlPasted(clsControlDetails &record) override;

 private:
  frmPanel &m_panel;
};
