#pragma once

#include <QMenu>

class RecentPanels;

// File > Recent Panels: one entry per recent panel, newest first, filled
// each time the menu opens.
class RecentPanelsMenu : public QMenu {
  Q_OBJECT
 public:
  RecentPanelsMenu(RecentPanels &recent, QWidget *parent = nullptr);
  void refill();

 private:
  RecentPanels &m_recent;
};
