#pragma once

#include "ui/serverdialogsupport.h"

class QTreeWidget;
class OpenPanelDialogLogic;

// The server's panel list ("Open Panel From Server"): one row per line of
// OpenPanelDialogLogic, name and caption in two columns. Not modal.
class OpenPanelViaVexDialog : public ServerDialogView {
  Q_OBJECT
 public:
  OpenPanelViaVexDialog(OpenPanelDialogLogic &logic, QWidget *parent = nullptr);

  QTreeWidget *panelList() const { return m_list; }

 private:
  void loadList();

  OpenPanelDialogLogic &m_logic;
  QTreeWidget *m_list;
};
