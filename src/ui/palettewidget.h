#pragma once

#include <QPixmap>
#include <QWidget>
#include <vector>

#include "ui/palettepainter.h"

class MainWindowLogic;
class QMimeData;
class PanelModel;

// The tool box: one item per control kind, each drawn like the control it
// creates. Pressing an item starts a drag that a panel canvas accepts.
class PaletteWidget : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char *kMimeType = "application/x-tessary-palette";

  explicit PaletteWidget(MainWindowLogic &designer, QWidget *parent = nullptr);
  ~PaletteWidget() override;

  QSize sizeHint() const override;
  // The item's rectangle, for tests and drags.
  QRect itemRect(PaletteItem item) const;
  // The name a drop handler sees for an item ("MasterButton", ...).
  static QString sourceName(PaletteItem item);
  static QString caption(PaletteItem item);
  // What a press at `pressPos` on the item drags: the drag offsets are set on
  // the main window's logic, the mime data names the item, the pixmap shows
  // the control at its real size on the active panel's zoom, with `hotSpot`
  // under the pointer.
  QMimeData *prepareDrag(PaletteItem item, const QPoint &pressPos, QPixmap *pixmap = nullptr,
                         QPoint *hotSpot = nullptr);
  // The zoom of the panel window a drag will most likely end on.
  void setDragZoom(double zoom) { m_dragZoom = zoom; }

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void leaveEvent(QEvent *event) override;

 private:
  int itemAt(const QPoint &pos) const;
  void startDrag(PaletteItem item, const QPoint &pressPos);

  MainWindowLogic &m_designer;
  int m_hover = -1;
  double m_dragZoom = 1.0;
};
