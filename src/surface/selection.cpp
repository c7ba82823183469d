// The selection: clicks with Ctrl and Shift, the frames of selected controls,
// and moving or sizing every selected control by the same amounts.
#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "surface/frameedges.h"
#include "surface/frmpanel.h"

void frmPanel::showFrame(const DesignControl *control) {
  if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(control))) {
    frame->Visible = true;
    PlaceFrame(*frame, *control);
  }
}

void frmPanel::hideFrame(const DesignControl *control) {
  if (ResizeFrame *frame = m_model.Frame(GetResizeIndex(control))) frame->Visible = false;
}

bool frmPanel::IsObjectSelected(const DesignObject *objControl) const {
  return std::find(collSelectedControls.begin(), collSelectedControls.end(), objControl) !=
         collSelectedControls.end();
}

int frmPanel::GetResizeIndex(const DesignObject *ObjectToSize) const {
  const clsControlDetails *record = m_model.FindRecord(ObjectToSize);
  return record ? record->lngPictResizeIndex : 0;
}

void frmPanel::ControlGotFocus(DesignObject *objControl) {
  if (objControl == &m_model.pictMain) {
    CanvasGotFocus();
    return;
  }
  if (!controlOfThisPanel(objControl)) return;
  auto *control = static_cast<DesignControl *>(objControl);
  Batch batch(*this);
  batch.add(Selection);
  setFocus(control);
  selectionClicked();

  bool shiftPath = false;
  bool deselect = false;
  if (!IsObjectSelected(control)) {
    if (!boolCtrlDown) {
      if (!boolShiftDown) {
        ClearAllSelected();
      } else {
        ShiftSelect(control);
        shiftPath = true;
      }
    }
    if (!IsObjectSelected(control)) collSelectedControls.push_back(control);
  } else if (boolCtrlDown && control->kind() != ControlKind::WebBrowser) {
    deselect = true;
  }
  RequestFillProperties();
  if (shiftPath) return;
  if (!deselect) {
    objCurrentControl = control;
    showFrame(control);
  } else {
    ClearSingleSelected(control);
  }
}

void frmPanel::CanvasGotFocus() {
  Batch batch(*this);
  batch.add(Selection);
  setFocus(&m_model.pictMain);
  selectionClicked();
  ClearAllSelected();
  objCurrentControl = &m_model.pictMain;
  RequestFillProperties();
}

void frmPanel::FrameGotFocus(int frameIndex) {
  for (const auto &record : m_model.PanelDetails.CollControls) {
    if (record->lngPictResizeIndex != frameIndex || !record->cntrlObject) continue;
    DesignControl *control = record->cntrlObject;
    ControlGotFocus(control);
    // The frame keeps the focus unless a Ctrl+press deselected its control
    // and the focus went on to another control or the canvas.
    if (m_focusObject == control) {
      m_focusObject = nullptr;
      m_focusFrame = frameIndex;
    }
    return;
  }
}

void frmPanel::ClearAllSelected(DesignObject *objKeepControl) {
  if (collSelectedControls.empty()) return;
  Batch batch(*this);
  batch.add(Selection);
  for (auto i = collSelectedControls.size(); i-- > 0;) {
    DesignControl *control = collSelectedControls[i];
    if (control == objKeepControl) continue;
    collSelectedControls.erase(collSelectedControls.begin() + i);
    hideFrame(control);
  }
}

void frmPanel::ClearSingleSelected(DesignObject *objControl) {
  Batch batch(*this);
  batch.add(Selection);
  if (objControl) {
    for (auto i = collSelectedControls.size(); i-- > 0;) {
      if (collSelectedControls[i] != objControl) continue;
      collSelectedControls.erase(collSelectedControls.begin() + i);
      hideFrame(static_cast<DesignControl *>(objControl));
    }
  }
  if (!collSelectedControls.empty()) {
    DesignControl *first = collSelectedControls.front();
    setFocus(first);
    objCurrentControl = first;
  } else {
    CanvasGotFocus();
  }
  RequestFillProperties();
}

void frmPanel::ShiftSelect(DesignObject *objControl) {
  if (!controlOfThisPanel(objControl)) return;
  auto *control = static_cast<DesignControl *>(objControl);
  Batch batch(*this);
  batch.add(Selection);
  if (!IsObjectSelected(control)) collSelectedControls.push_back(control);
  objCurrentControl = control;

  // The box around everything selected so far.
  qint64 left = std::numeric_limits<qint64>::max(), top = left;
  qint64 right = std::numeric_limits<qint64>::min(), bottom = right;
  for (const DesignControl *c : collSelectedControls) {
    left = std::min<qint64>(left, c->Left);
    top = std::min<qint64>(top, c->Top);
    right = std::max<qint64>(right, qint64(c->Left) + c->Width);
    bottom = std::max<qint64>(bottom, qint64(c->Top) + c->Height);
  }
  ClearAllSelected();

  // Every control that overlaps or touches the box joins, in record order.
  std::unordered_set<const DesignControl *> selected;
  for (const auto &record : m_model.PanelDetails.CollControls) {
    DesignControl *c = record->cntrlObject;
    if (!c) continue;
    const bool touches = c->Left <= right && qint64(c->Left) + c->Width >= left &&
                         c->Top <= bottom && qint64(c->Top) + c->Height >= top;
    if (!touches) continue;
    if (selected.insert(c).second) collSelectedControls.push_back(c);
    showFrame(c);
  }
  if (!selected.count(control)) collSelectedControls.push_back(control);
  objCurrentControl = control;
  RequestFillProperties();
}

void frmPanel::ResizeSelected(qint32 dLeft, qint32 dTop, qint32 dWidth, qint32 dHeight,
                              bool includeCurrent) {
  if (collSelectedControls.empty()) return;
  EditStep step(*this, QStringLiteral("Resize"), StepName::WithControls);
  Batch batch(*this);
  // One look-up table instead of a walk of the records per control: a drag
  // of hundreds of selected controls calls this on every mouse step.
  std::unordered_map<const DesignControl *, const clsControlDetails *> records;
  records.reserve(m_model.PanelDetails.CollControls.size());
  for (const auto &record : m_model.PanelDetails.CollControls)
    if (record->cntrlObject) records.emplace(record->cntrlObject, record.get());

  auto fits = [](qint64 v) {
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
  };
  for (DesignControl *control : collSelectedControls) {
    if (!includeCurrent && control == objCurrentControl) continue;
    const auto found = records.find(control);
    if (found == records.end()) continue;
    const qint64 left = qint64(control->Left) + dLeft, top = qint64(control->Top) + dTop;
    const qint64 width = qint64(control->Width) + dWidth;
    const qint64 height = qint64(control->Height) + dHeight;
    // A control never gets a negative size: the walk ends here.
    if (width < 0 || height < 0 || !fits(left) || !fits(top) || !fits(width) || !fits(height))
      break;
    control->Left = qint32(left);
    control->Top = qint32(top);
    control->Height = qint32(height);
    control->Width = qint32(width);
    if (ResizeFrame *frame = m_model.Frame(found->second->lngPictResizeIndex)) {
      frame->Left += dLeft;
      frame->Top += dTop;
      frame->Height += dHeight;
      frame->Width += dWidth;
    }
    batch.add(Geometry);
  }
}

void frmPanel::SelectAll() {
  Batch batch(*this);
  batch.add(Selection);
  selectionClicked();
  std::unordered_set<const DesignControl *> selected(collSelectedControls.begin(),
                                                     collSelectedControls.end());
  for (const auto &record : m_model.PanelDetails.CollControls) {
    DesignControl *c = record->cntrlObject;
    if (!c) continue;
    if (selected.insert(c).second) collSelectedControls.push_back(c);
    if (ResizeFrame *frame = m_model.Frame(record->lngPictResizeIndex)) {
      frame->Visible = true;
      PlaceFrame(*frame, *c);
    }
  }
  if (collSelectedControls.empty()) return;
  if (!IsObjectSelected(objCurrentControl)) {
    objCurrentControl = collSelectedControls.front();
    setFocus(collSelectedControls.front());
  }
  RequestFillProperties();
}

void frmPanel::RubberBandSelect(const QRect &band, bool add) {
  Batch batch(*this);
  batch.add(Selection);
  selectionClicked();
  if (!add) {
    ClearAllSelected();
    objCurrentControl = &m_model.pictMain;
    setFocus(&m_model.pictMain);
  }
  const qint64 left = band.left(), top = band.top();
  const qint64 right = left + band.width(), bottom = top + band.height();
  std::unordered_set<const DesignControl *> selected(collSelectedControls.begin(),
                                                     collSelectedControls.end());
  DesignControl *last = nullptr;
  for (const auto &record : m_model.PanelDetails.CollControls) {
    DesignControl *c = record->cntrlObject;
    if (!c || !c->Visible) continue;
    // The rule of the Shift range: overlapping or touching counts.
    const bool touches = c->Left <= right && qint64(c->Left) + c->Width >= left &&
                         c->Top <= bottom && qint64(c->Top) + c->Height >= top;
    if (!touches || !selected.insert(c).second) continue;
    collSelectedControls.push_back(c);
    if (ResizeFrame *frame = m_model.Frame(record->lngPictResizeIndex)) {
      frame->Visible = true;
      PlaceFrame(*frame, *c);
    }
    last = c;
  }
  if (last) {
    objCurrentControl = last;
    setFocus(last);
  }
  RequestFillProperties();
}
