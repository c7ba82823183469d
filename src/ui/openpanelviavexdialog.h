#pragma once

#include "ui/serverdialogsupport.h"

class QTreeWidget;
class frmOpenPanelViaVex;

// The server's panel list ("Open Panel From Server"): one row per line of
// frmOpenPanelViaVex, name and caption in two columns. Not modal.
class OpenPanelViaVexDialog : public ServerDialogView {
  Q_OBJECT
 public:
  OpenPanelViaVexDialog(frmOpenPanelViaVex &logic, QWidget *parent = nullptr);

  QTreeWidget *lstPanels() const { return m_list; }

 private:
  void loadList();

  frmOpenPanelViaVex &m_logic;
  QTreeWidget *m_list;
};
