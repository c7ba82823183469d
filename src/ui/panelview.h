#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class frmPanel;
class MDIFormDesigner;
class DesignControl;
class WebBrowserHost;

// Draws one panel's canvas, its selection frames and controls from the core
// state, and turns mouse, keyboard and drops into calls on the panel logic.
class PanelCanvasView : public QWidget {
  Q_OBJECT
 public:
  PanelCanvasView(frmPanel &panel, MDIFormDesigner &designer, QWidget *parent = nullptr);

  frmPanel &panel() { return m_panel; }
  // The control under a point in canvas pixels, topmost first.
  DesignControl *controlAt(const QPointF &pixels) const;

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  bool focusNextPrevChild(bool) override { return false; }  // arrows and Tab stay here

 private:
  int frameAt(const QPointF &pixels) const;
  void syncModifiers(Qt::KeyboardModifiers modifiers);
  void updateCursor(int frameIndex);

  frmPanel &m_panel;
  MDIFormDesigner &m_designer;
  int m_dragFrame = 0;  // frame held by a mouse drag, 0 for none
  QTimer m_clockTick;
  WebBrowserHost *m_browsers;
};

// The MDI child window of one panel: its caption follows the panel, its size
// is the panel's window size, and closing asks the main window's logic first.
class PanelSubWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  PanelSubWindow(frmPanel &panel, MDIFormDesigner &designer, QWidget *parent = nullptr);
  frmPanel &panel() { return m_panel; }
  PanelCanvasView *canvas() { return m_canvas; }
  // Closes without asking (the main window's logic already decided).
  void closeDecided();

 protected:
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

 private:
  frmPanel &m_panel;
  MDIFormDesigner &m_designer;
  PanelCanvasView *m_canvas;
  bool m_closeDecided = false;
};
