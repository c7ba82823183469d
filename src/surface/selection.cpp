// The selection: clicks with Ctrl and Shift, the frames of selected controls,
// and m_moving or sizing every selected control by the same amounts.
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "surface/frameedges.h"
#include "surface/paneleditor.h"

void PanelEditor::showFrame(const DesignControl *control) {
  if (ResizeFrame *frame = m_model.frame(frameIndexOf(control))) {
    frame->visible = true;
    placeFrame(*frame, *control);
  }
}

void PanelEditor::hideFrame(const DesignControl *control) {
  if (ResizeFrame *frame = m_model.frame(frameIndexOf(control))) frame->visible = false;
}

bool PanelEditor::isObjectSelected(const DesignObject *object) const {
  return std::find(m_selectedControls.begin(), m_selectedControls.end(), object) !=
         m_selectedControls.end();
}

int PanelEditor::frameIndexOf(const DesignObject *objectToSize) const {
  const ControlRecord *record = m_model.findRecord(objectToSize);
  return record ? record->frameIndex : 0;
}

void PanelEditor::controlGotFocus(DesignObject *object) {
  if (object == &m_model.canvas) {
    canvasGotFocus();
    return;
  }
  if (!controlOfThisPanel(object)) return;
  auto *control = static_cast<DesignControl *>(object);
  Batch batch(*this);
  batch.add(Selection);
  setFocus(control);
  selectionClicked();

  bool shiftPath = false;
  bool deselect = false;
  if (!isObjectSelected(control)) {
    if (!m_ctrlDown) {
      if (!m_shiftDown) {
        clearAllSelected();
      } else {
        shiftSelect(control);
        shiftPath = true;
      }
    }
    if (!isObjectSelected(control)) m_selectedControls.push_back(control);
  } else if (m_ctrlDown && control->kind() != ControlKind::WebBrowser) {
    deselect = true;
  }
  requestFillProperties();
  if (shiftPath) return;
  if (!deselect) {
    m_currentControl = control;
    showFrame(control);
  } else {
    clearSingleSelected(control);
  }
}

void PanelEditor::canvasGotFocus() {
  Batch batch(*this);
  batch.add(Selection);
  setFocus(&m_model.canvas);
  selectionClicked();
  clearAllSelected();
  m_currentControl = &m_model.canvas;
  requestFillProperties();
}

void PanelEditor::frameGotFocus(int frameIndex) {
  for (const auto &record : m_model.panelRecord.records) {
    if (record->frameIndex != frameIndex || !record->control) continue;
    DesignControl *control = record->control;
    controlGotFocus(control);
    // The frame keeps the focus unless a Ctrl+press deselected its control
    // and the focus went on to another control or the canvas.
    if (m_focusObject == control) {
      m_focusObject = nullptr;
      m_focusFrame = frameIndex;
    }
    return;
  }
}

void PanelEditor::clearAllSelected(DesignObject *keepControl) {
  if (m_selectedControls.empty()) return;
  Batch batch(*this);
  batch.add(Selection);
  for (auto i = m_selectedControls.size(); i-- > 0;) {
    DesignControl *control = m_selectedControls[i];
    if (control == keepControl) continue;
    m_selectedControls.erase(m_selectedControls.begin() + i);
    hideFrame(control);
  }
}

void PanelEditor::clearSingleSelected(DesignObject *object) {
  Batch batch(*this);
  batch.add(Selection);
  if (object) {
    for (auto i = m_selectedControls.size(); i-- > 0;) {
      if (m_selectedControls[i] != object) continue;
      m_selectedControls.erase(m_selectedControls.begin() + i);
      hideFrame(static_cast<DesignControl *>(object));
    }
  }
  if (!m_selectedControls.empty()) {
    DesignControl *first = m_selectedControls.front();
    setFocus(first);
    m_currentControl = first;
  } else {
    canvasGotFocus();
  }
  requestFillProperties();
}

void PanelEditor::shiftSelect(DesignObject *object) {
  if (!controlOfThisPanel(object)) return;
  auto *control = static_cast<DesignControl *>(object);
  Batch batch(*this);
  batch.add(Selection);
  if (!isObjectSelected(control)) m_selectedControls.push_back(control);
  m_currentControl = control;

  // The box around everything selected so far.
  qint64 left = std::numeric_limits<qint64>::max(), top = left;
  qint64 right = std::numeric_limits<qint64>::min(), bottom = right;
  for (const DesignControl *c : m_selectedControls) {
    left = std::min<qint64>(left, c->left);
    top = std::min<qint64>(top, c->top);
    right = std::max<qint64>(right, qint64(c->left) + c->width);
    bottom = std::max<qint64>(bottom, qint64(c->top) + c->height);
  }
  clearAllSelected();

  // Every control that overlaps or touches the box joins, in record order.
  std::unordered_set<const DesignControl *> selected;
  for (const auto &record : m_model.panelRecord.records) {
    DesignControl *c = record->control;
    if (!c) continue;
    const bool touches = c->left <= right && qint64(c->left) + c->width >= left &&
                         c->top <= bottom && qint64(c->top) + c->height >= top;
    if (!touches) continue;
    if (selected.insert(c).second) m_selectedControls.push_back(c);
    showFrame(c);
  }
  if (!selected.count(control)) m_selectedControls.push_back(control);
  m_currentControl = control;
  requestFillProperties();
}

void PanelEditor::resizeSelected(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight,
                                 bool includeCurrent) {
  if (m_selectedControls.empty()) return;
  EditStep step(*this, QStringLiteral("Resize"), StepName::WithControls);
  Batch batch(*this);
  // One look-up table instead of a walk of the records per control: a drag
  // of hundreds of selected controls calls this on every mouse step.
  std::unordered_map<const DesignControl *, const ControlRecord *> records;
  records.reserve(m_model.panelRecord.records.size());
  for (const auto &record : m_model.panelRecord.records)
    if (record->control) records.emplace(record->control, record.get());

  auto fits = [](qint64 v) {
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
  };
  for (DesignControl *control : m_selectedControls) {
    if (!includeCurrent && control == m_currentControl) continue;
    const auto found = records.find(control);
    if (found == records.end()) continue;
    const qint64 left = qint64(control->left) + dLeft, top = qint64(control->top) + dTop;
    const qint64 width = qint64(control->width) + dWidth;
    const qint64 height = qint64(control->height) + dHeight;
    // A control never gets a negative size: the walk ends here.
    if (width < 0 || height < 0 || !fits(left) || !fits(top) || !fits(width) || !fits(height))
      break;
    control->left = qint32(left);
    control->top = qint32(top);
    control->height = qint32(height);
    control->width = qint32(width);
    if (ResizeFrame *frame = m_model.frame(found->second->frameIndex)) {
      frame->left += dLeft;
      frame->top += dTop;
      frame->height += dHeight;
      frame->width += dWidth;
    }
    batch.add(Geometry);
  }
}

void PanelEditor::selectAll() {
  Batch batch(*this);
  batch.add(Selection);
  selectionClicked();
  std::unordered_set<const DesignControl *> selected(m_selectedControls.begin(),
                                                     m_selectedControls.end());
  for (const auto &record : m_model.panelRecord.records) {
    DesignControl *c = record->control;
    if (!c) continue;
    if (selected.insert(c).second) m_selectedControls.push_back(c);
    if (ResizeFrame *frame = m_model.frame(record->frameIndex)) {
      frame->visible = true;
      placeFrame(*frame, *c);
    }
  }
  if (m_selectedControls.empty()) return;
  if (!isObjectSelected(m_currentControl)) {
    m_currentControl = m_selectedControls.front();
    setFocus(m_selectedControls.front());
  }
  requestFillProperties();
}

void PanelEditor::rubberBandSelect(const QRect &band, bool add) {
  Batch batch(*this);
  batch.add(Selection);
  selectionClicked();
  if (!add) {
    clearAllSelected();
    m_currentControl = &m_model.canvas;
    setFocus(&m_model.canvas);
  }
  const qint64 left = band.left(), top = band.top();
  const qint64 right = left + band.width(), bottom = top + band.height();
  std::unordered_set<const DesignControl *> selected(m_selectedControls.begin(),
                                                     m_selectedControls.end());
  DesignControl *last = nullptr;
  for (const auto &record : m_model.panelRecord.records) {
    DesignControl *c = record->control;
    if (!c || !c->visible) continue;
    // The rule of the Shift range: overlapping or touching counts.
    const bool touches = c->left <= right && qint64(c->left) + c->width >= left &&
                         c->top <= bottom && qint64(c->top) + c->height >= top;
    if (!touches || !selected.insert(c).second) continue;
    m_selectedControls.push_back(c);
    if (ResizeFrame *frame = m_model.frame(record->frameIndex)) {
      frame->visible = true;
      placeFrame(*frame, *c);
    }
    last = c;
  }
  if (last) {
    m_currentControl = last;
    setFocus(last);
  }
  requestFillProperties();
}
