#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;
class PreviewSession;
struct PreviewCommand;

// The small pane under a previewed panel listing the commands its clicks
// would have sent, newest at the bottom, with a button to clear the list.
class PreviewLogPane : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewLogPane(QWidget *parent = nullptr);

  // Shows the log of a session and follows it; null empties the pane.
  void setSession(PreviewSession *session);
  QListWidget *list() const { return m_list; }

 private:
  void append(const PreviewCommand &command);

  QListWidget *m_list;
  QPushButton *m_clear;
  PreviewSession *m_session = nullptr;
};
