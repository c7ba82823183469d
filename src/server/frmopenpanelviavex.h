#pragma once

#include <QObject>
#include <QStringList>

class ServerSession;

// The dialog that lists the server's panels and asks for the chosen one.
// It shows the list the server sent last (name, tab, caption a line) and
// follows a new list while it is open.
class frmOpenPanelViaVex : public QObject {
  Q_OBJECT
 public:
  inline static const QString Caption = QStringLiteral("Open Panel From Server");

  explicit frmOpenPanelViaVex(ServerSession &session, QObject *parent = nullptr);

  const QStringList &lstPanels() const { return m_lines; }
  int ListIndex() const { return m_listIndex; }  // -1: no line selected
  void setListIndex(int index);
  bool Visible() const { return m_visible; }

  void Show();
  // "&Open" or a double click: asks the server for the selected panel.
  void butOpen_Click();
  void lstPanels_DblClick() { butOpen_Click(); }
  void butCancel_Click() { Close(); }
  void Close();
  void ShowHelp();
  // A new list arrived: the open dialog shows it, keeping the selected line.
  void RefreshList();

 signals:
  void visibleChanged(bool visible);
  void listChanged();

 private:
  void fill();

  ServerSession &m_session;
  QStringList m_lines;
  int m_listIndex = -1;
  bool m_visible = false;
};
