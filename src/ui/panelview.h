#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class PanelEditor;
class MainWindowLogic;
class DesignControl;
class QPainter;
class QScrollArea;
class PreviewLogPane;
class PreviewSession;
class WebBrowserHost;

// Draws one panel's canvas, its selection frames and controls from the core
// state, and turns mouse, keyboard and drops into calls on the panel logic.
// The widget grows past its scroll area when controls lie beyond the visible
// part (to the left or above the origin too), so every control stays in reach.
class PanelCanvasView : public QWidget {
  Q_OBJECT
 public:
  // View > Show Grid: the panel's grid as dots on every canvas, not in
  // preview. A view matter only; nothing of it reaches a file.
  static void setGridShown(bool shown);
  static bool gridShown();

  // View > Snap to Controls and Snap to Grid: whether a frame drag on any
  // canvas snaps to the other controls and the panel, and to the grid.
  static void setSnapToControls(bool on);
  static bool snapToControls();
  static void setSnapToGrid(bool on);
  static bool snapToGrid();

  PanelCanvasView(PanelEditor &panel, MainWindowLogic &designer, QWidget *parent = nullptr);

  PanelEditor &panel() { return m_panel; }
  WebBrowserHost &browsers() { return *m_browsers; }
  // The control under a point in widget pixels, topmost first.
  DesignControl *controlAt(const QPointF &pixels) const;
  // A rectangle in canvas twips as widget pixels, and a point back. These
  // and pixelsPerTwip are the only conversions between the two: every
  // mouse, drop, band, drag and paint position goes through them, so that
  // the zoom is applied alike everywhere.
  QRectF pixelRect(qint32 left, qint32 top, qint32 width, qint32 height) const;
  QPointF toTwips(const QPointF &pixels) const;
  double pixelsPerTwip() const;
  // The whole twip a pixel position stands for. Rounded so that two pointer
  // positions a whole number of twips apart stay as far apart at every zoom
  // (halves always up): a drag then moves by the same twips at 200 % as at
  // 100 %.
  QPoint twipsAt(const QPointF &pixels) const;

  // The zoom of this panel window (1 is 100 %); a view matter only, the
  // panel keeps twips. Zoom In and Out go from step to step; fitInto may
  // give any factor in between. The point under `anchor` (widget pixels)
  // stays where it is on screen; without it, the visible centre.
  static constexpr double kMinZoom = 0.25, kMaxZoom = 4.0;
  double zoom() const { return m_zoom; }
  void setZoom(double zoom, const QPointF *anchor = nullptr);
  void zoomIn();
  void zoomOut();
  void actualSize() { setZoom(1.0); }
  // Zooms so that every control with its frame fits into `visible` pixels
  // from the canvas's top-left corner, and scrolls there.
  void fitInto(const QSize &visible);
  // Sizes the widget to the controls and the visible part of the scroll area.
  void fitToContents();
  void setScrollArea(QScrollArea *area) { m_scrollArea = area; }

  static QString frameHint();

  // While a session is set the canvas shows the panel as operators see it,
  // without frames, and clicks go to the session instead of the design.
  void setPreview(PreviewSession *session);
  PreviewSession *preview() const { return m_preview; }

 protected:
  bool event(QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  bool focusNextPrevChild(bool) override { return false; }  // arrows and Tab stay here

 signals:
  void zoomChanged(double zoom);

 private:
  int frameAt(const QPointF &pixels) const;
  struct ContentBounds {
    qint64 minX = 0, minY = 0, maxX = 0, maxY = 0;  // twips
    bool beyondLeft = false, beyondTop = false;     // controls left of or above (0, 0)
  };
  ContentBounds contentBounds() const;
  void syncModifiers(Qt::KeyboardModifiers modifiers);
  void updateCursor(int frameIndex);
  void showFrameHint(bool show);
  void finishRubberBand(const QPointF &end, Qt::KeyboardModifiers modifiers);
  void pressFrame(int frame, int button, const QPointF &pos);
  void endFrameDrag(int button);
  void paintSnapMarks(QPainter &p);
  void setSnapping(Qt::KeyboardModifiers modifiers);

  PanelEditor &m_panel;
  MainWindowLogic &m_designer;
  QScrollArea *m_scrollArea = nullptr;
  QPointF m_origin;  // widget pixel of the canvas origin (twips 0, 0)
  double m_zoom = 1.0;
  bool m_beyondLeft = false;  // controls lie left of the panel's left edge
  bool m_beyondTop = false;   // or above its top edge
  int m_dragFrame = 0;        // frame held by a mouse drag, 0 for none
  // The frame of a selected control whose body the left button pressed: a
  // drag from there moves the selection as a right-drag on the frame does.
  int m_bodyFrame = 0;
  QPointF m_bodyPressAt;
  bool m_banding = false;   // a left-button drag on the empty canvas
  bool m_bandAdds = false;  // Ctrl was held at its press
  QPointF m_bandStart, m_bandEnd;
  bool m_hintShown = false;
  QTimer m_clockTick;
  WebBrowserHost *m_browsers;
  PreviewSession *m_preview = nullptr;
};

// The MDI child window of one panel: its caption follows the panel, its size
// is the panel's window size, and closing asks the main window's logic first.
class PanelSubWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  PanelSubWindow(PanelEditor &panel, MainWindowLogic &designer, QWidget *parent = nullptr);
  ~PanelSubWindow() override;
  PanelEditor &panel() { return m_panel; }
  PanelCanvasView *canvas() { return m_canvas; }
  QScrollArea *scrollArea() { return m_scrollArea; }
  // Closes without asking (the main window's logic already decided).
  void closeDecided();
  // Takes the panel's own Width and Height as the window's size (when the
  // window is neither maximised nor minimised; else once it is restored).
  void showPanelSize();
  // View > Fit to Window: the zoom at which every control fits into the
  // part of the canvas the workspace shows, scrolled into view.
  void fitToWindow();
  // The window of a panel read afresh from its file stands where `old`
  // stood (maximised or not, in the same place among the windows) with its
  // zoom and scrolling.
  void takePlaceOf(PanelSubWindow &old);

  // Preview (View > Preview): the panel as operators see it, with the log of
  // the commands its clicks would send under it. Leaving drops the session.
  void setPreview(bool on);
  PreviewSession *previewSession() const { return m_preview.get(); }
  PreviewLogPane *logPane() const { return m_logPane; }

 signals:
  void previewChanged(bool on);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void changeEvent(QEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

 private:
  PanelEditor &m_panel;
  MainWindowLogic &m_designer;
  QString title() const;
  // The outer size in pixels of a window showing a panel of this Width and
  // Height (twips).
  static QSize windowSizeOf(qint32 width, qint32 height);

  QScrollArea *m_scrollArea;
  PanelCanvasView *m_canvas;
  PreviewLogPane *m_logPane;
  std::unique_ptr<PreviewSession> m_preview;
  bool m_closeDecided = false;
  bool m_followingPanel = false;  // resizing to the panel's own size, not by the user
  QSize m_panelSize;              // the panel's size the window last followed, in pixels
};
