#pragma once

#include <QDialog>

class QTreeWidget;
class frmOpenPanelViaVex;

// The server's panel list ("Open Panel From Server"): one row per line of
// frmOpenPanelViaVex, name and caption in two columns. Not modal.
class OpenPanelViaVexDialog : public QDialog {
  Q_OBJECT
 public:
  OpenPanelViaVexDialog(frmOpenPanelViaVex &logic, QWidget *parent = nullptr);

  QTreeWidget *lstPanels() const { return m_list; }

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void loadList();
  void follow(bool visible);

  frmOpenPanelViaVex &m_logic;
  QTreeWidget *m_list;
};
