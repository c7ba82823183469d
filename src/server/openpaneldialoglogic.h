#pragma once

#include <QObject>
#include <QStringList>

class ServerSession;

// The dialog that lists the server's panels and asks for the chosen one.
// It shows the list the server sent last (name, tab, caption a line) and
// follows a new list while it is open.
class OpenPanelDialogLogic : public QObject {
  Q_OBJECT
 public:
  inline static const QString caption = QStringLiteral("Open Panel From Server");

  explicit OpenPanelDialogLogic(ServerSession &session, QObject *parent = nullptr);

  const QStringList &panelList() const { return m_lines; }
  int listIndex() const { return m_listIndex; }  // -1: no line selected
  void setListIndex(int index);
  bool visible() const { return m_visible; }

  void show();
  // "&Open" or a double click: asks the server for the selected panel.
  void openSelected();
  void panelDoubleClicked() { openSelected(); }
  void cancel() { close(); }
  void close();
  void showHelp();
  // A new list arrived: the open dialog shows it, keeping the selected line.
  void refreshList();

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
