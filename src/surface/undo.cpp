// Undo and redo: recording one user action as one step of the panel
// window's undo stack, and putting a step's before or after state back.
#include <QUndoCommand>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "surface/frameedges.h"
#include "surface/frmpanel.h"
#include "surface/panelchange.h"

// One step on the stack: the change its action made, put back on undo and
// again on redo.
class PanelEditCommand : public QUndoCommand {
 public:
  PanelEditCommand(frmPanel &panel, QString name, frmPanel::StepName naming,
                   frmPanel::MergeKind merge, quint64 generation, PanelChange change)
      : m_panel(panel),
        m_name(std::move(name)),
        m_naming(naming),
        m_merge(merge),
        m_generation(generation),
        m_change(std::move(change)) {
    updateText();
  }

  int id() const override { return m_merge == frmPanel::NoMerge ? -1 : int(m_merge); }

  // The action has already changed the panel when the step is pushed.
  void redo() override {
    if (std::exchange(m_done, true)) m_panel.applyChange(m_change, false);
  }
  void undo() override { m_panel.applyChange(m_change, true); }

  // A run of arrow presses on the same selection, with no click in between,
  // is one step; a run that ends where it began is no step at all.
  bool mergeWith(const QUndoCommand *other) override {
    const auto *later = static_cast<const PanelEditCommand *>(other);
    if (&later->m_panel != &m_panel || later->m_generation != m_generation) return false;
    if (!m_change.geometryOnly() || !later->m_change.geometryOnly()) return false;
    if (later->m_change.selectionBefore != m_change.selectionAfter) return false;
    m_change.mergeGeometry(later->m_change);
    m_change.dropUnchangedGeometry();
    setObsolete(m_change.empty());
    updateText();
    return true;
  }

 private:
  void updateText() {
    if (m_naming == frmPanel::StepName::AsIs) {
      setText(m_name);
    } else if (const DesignControl *only = m_change.onlyControl()) {
      setText(m_name + u' ' + only->Tag);
    } else {
      setText(QStringLiteral("%1 %2 Controls").arg(m_name).arg(m_change.controlCount()));
    }
  }

  frmPanel &m_panel;
  QString m_name;
  frmPanel::StepName m_naming;
  frmPanel::MergeKind m_merge;
  quint64 m_generation;
  PanelChange m_change;
  bool m_done = false;
};

// ---------------------------------------------------------------- recording

frmPanel::EditStep::EditStep(frmPanel &panel, const QString &name, StepName naming, MergeKind merge)
    : m_panel(panel), m_batch(panel) {
  m_panel.BeginEdit(name, naming, merge);
}

frmPanel::EditStep::~EditStep() { m_panel.EndEdit(); }

void frmPanel::EditStep::touchAll() {
  if (m_panel.m_recorder) m_panel.m_recorder->touchAll();
}

void frmPanel::touch(DesignControl *control) {
  if (m_recorder && controlOfThisPanel(control)) m_recorder->touch(control);
}

SelectionState frmPanel::selectionState() const {
  return {collSelectedControls, objCurrentControl, m_focusObject, m_focusFrame};
}

void frmPanel::BeginEdit(const QString &name, StepName naming, MergeKind merge) {
  if (m_editDepth++ > 0) return;  // joins the step being recorded
  m_editName = name;
  m_editNaming = naming;
  m_editMerge = merge;
  m_recorder = std::make_unique<ChangeRecorder>(m_model, selectionState());
  for (DesignControl *control : collSelectedControls) m_recorder->touch(control);
  touch(dynamic_cast<DesignControl *>(objCurrentControl));
}

void frmPanel::EndEdit() {
  if (m_editDepth == 0 || --m_editDepth > 0) return;
  commitEdit();
}

void frmPanel::commitEdit() {
  const std::unique_ptr<ChangeRecorder> recorder = std::move(m_recorder);
  PanelChange change = recorder->finish(selectionState());
  if (change.empty()) return;
  m_undoStack.push(new PanelEditCommand(*this, m_editName, m_editNaming, m_editMerge,
                                        m_selectionGeneration, std::move(change)));
}

void frmPanel::finishGesture() {
  if (!m_gestureOpen) return;
  m_gestureOpen = false;
  boolResizing = boolMoving = false;
  endSnapping();
  EndEdit();
}

void frmPanel::Undo() {
  finishGesture();
  if (m_editDepth == 0) m_undoStack.undo();
}

void frmPanel::Redo() {
  finishGesture();
  if (m_editDepth == 0) m_undoStack.redo();
}

bool frmPanel::NeedToSave() const { return m_changedOutsideSteps || !m_undoStack.isClean(); }

void frmPanel::setNeedToSave(bool value) {
  if (value) {
    if (m_editDepth > 0) return;  // the step being recorded marks the panel if it changed anything
    m_changedOutsideSteps = true;
  } else {
    m_changedOutsideSteps = false;
    m_undoStack.setClean();
  }
  emit needToSaveChanged(NeedToSave());
}

// ---------------------------------------------------------------- replaying

namespace {
// Puts each of the panel's values back that the step changed; values the
// step left alone (a window resized since, say) stay as they are.
template <class T>
void putBack(T &live, const T &before, const T &after, bool undo) {
  if (!(before == after)) live = undo ? before : after;
}

void putBackPanel(PanelModel &model, const PanelValues &before, const PanelValues &after,
                  bool undo) {
  PanelCanvas &canvas = model.pictMain;
  putBack(canvas.Tag, before.canvas.Tag, after.canvas.Tag, undo);
  putBack(canvas.BackColor, before.canvas.BackColor, after.canvas.BackColor, undo);
  putBack(canvas.ForeColor, before.canvas.ForeColor, after.canvas.ForeColor, undo);
  putBack(canvas.Picture, before.canvas.Picture, after.canvas.Picture, undo);
  putBack(canvas.Width, before.canvas.Width, after.canvas.Width, undo);
  putBack(canvas.Height, before.canvas.Height, after.canvas.Height, undo);
  putBack(model.Caption, before.Caption, after.Caption, undo);
  putBack(model.Width, before.Width, after.Width, undo);
  putBack(model.Height, before.Height, after.Height, undo);
  putBack(model.strDefaultPictureLoc, before.strDefaultPictureLoc, after.strDefaultPictureLoc,
          undo);
  clsPanelDetails &d = model.PanelDetails;
  putBack(d.strPictureOrigPath, before.strPictureOrigPath, after.strPictureOrigPath, undo);
  putBack(d.strPanelPath, before.strPanelPath, after.strPanelPath, undo);
  putBack(d.BackColorOn, before.BackColorOn, after.BackColorOn, undo);
  putBack(d.BackColorOff, before.BackColorOff, after.BackColorOff, undo);
  putBack(d.strPicture, before.strPicture, after.strPicture, undo);
  putBack(d.strOnload, before.strOnload, after.strOnload, undo);
}

// A record back in the state before or after a step. Three of its values
// the program keeps up to date outside any step, so a step puts them back
// only when it changed them itself: the hardware type and port that showing
// a control fills in, and the internal name, which follows the panel's name
// when the panel is saved under another one. An internal name the step did
// change comes back with the panel's present name in front.
void putRecordBack(clsControlDetails &live, const clsControlDetails &before,
                   const clsControlDetails &after, bool undo, const QString &namedAs,
                   const QString &panelName) {
  const QString type = live.HWMapType, port = live.HWMapHostPort;
  const QString internalName = live.HWMapInternalName();
  live = undo ? before : after;
  if (before.HWMapType == after.HWMapType) live.HWMapType = type;
  if (before.HWMapHostPort == after.HWMapHostPort) live.HWMapHostPort = port;
  if (before.HWMapInternalName() == after.HWMapInternalName()) {
    live.setHWMapInternalName(internalName);
  } else if (const QString prefix = namedAs + u'.';
             namedAs != panelName && live.HWMapInternalName().startsWith(prefix)) {
    live.setHWMapInternalName(panelName + u'.' + live.HWMapInternalName().mid(prefix.size()));
  }
}

using Records = std::vector<std::unique_ptr<clsControlDetails>>;

// Takes a control, its record and its frame out of the panel into the change.
void takeOut(PanelModel &model, PresenceChange &p) {
  p.heldControl = model.TakeControl(p.control);
  if (!p.record) return;
  Records &records = model.PanelDetails.CollControls;
  auto it = p.recordPosition < records.size() && records[p.recordPosition].get() == p.record
                ? records.begin() + std::ptrdiff_t(p.recordPosition)
                : std::find_if(records.begin(), records.end(),
                               [&](const auto &r) { return r.get() == p.record; });
  if (it != records.end()) {
    p.heldRecord = std::move(*it);
    records.erase(it);
  }
  if (const ResizeFrame *frame = model.Frame(p.record->lngPictResizeIndex)) {
    p.frame = *frame;
    model.UnloadFrame(frame->index);
  }
}

void putControlBack(PanelModel &model, PresenceChange &p) {
  if (p.heldControl) model.PutControl(std::move(p.heldControl), p.zPosition);
}

// Puts a changed span of the stacking order back as it was before or after.
void putOrderBack(PanelModel &model, const OrderChange &order, bool undo) {
  if (!order.zOrder.empty()) {
    const auto &span = undo ? order.zOrder.before : order.zOrder.after;
    std::vector<DesignControl *> z = model.ZOrder();
    if (order.zOrder.from + span.size() <= z.size()) {
      std::copy(span.begin(), span.end(), z.begin() + std::ptrdiff_t(order.zOrder.from));
      model.SetZOrder(std::move(z));
    }
  }
  if (!order.records.empty()) {
    const auto &span = undo ? order.records.before : order.records.after;
    Records &records = model.PanelDetails.CollControls;
    const size_t from = order.records.from;
    if (from + span.size() > records.size()) return;
    std::unordered_map<const clsControlDetails *, std::unique_ptr<clsControlDetails> *> spots;
    for (size_t i = 0; i < span.size(); ++i)
      spots.emplace(records[from + i].get(), &records[from + i]);
    for (const clsControlDetails *record : span)
      if (!spots.count(record)) return;  // not the span it was recorded on
    std::vector<std::unique_ptr<clsControlDetails>> reordered;
    for (const clsControlDetails *record : span) reordered.push_back(std::move(*spots.at(record)));
    std::move(reordered.begin(), reordered.end(), records.begin() + std::ptrdiff_t(from));
  }
}

void putRecordBack(PanelModel &model, PresenceChange &p) {
  Records &records = model.PanelDetails.CollControls;
  if (p.heldRecord) {
    const size_t at = std::min(p.recordPosition, records.size());
    records.insert(records.begin() + std::ptrdiff_t(at), std::move(p.heldRecord));
  }
  if (p.frame) model.PutFrame(*p.frame);
}
}  // namespace

void frmPanel::applyChange(PanelChange &change, bool undo) {
  Batch batch(*this);
  batch.add(Geometry | Selection | Properties);
  if (undo) {
    // Added controls leave, the others take their old state, removed ones
    // come back in the reverse order of their removal.
    for (auto it = change.added.rbegin(); it != change.added.rend(); ++it) takeOut(m_model, *it);
  } else {
    for (PresenceChange &p : change.removed) takeOut(m_model, p);
  }
  if (!change.added.empty() || !change.removed.empty()) batch.add(Structure);
  if (!change.order.empty()) {
    putOrderBack(m_model, change.order, undo);
    batch.add(Order);
  }

  // A shown frame follows its control; a hidden one is placed when shown.
  auto follow = [this](int frameIndex, const DesignControl &control) {
    if (ResizeFrame *frame = m_model.Frame(frameIndex); frame && frame->Visible)
      PlaceFrame(*frame, control);
  };
  for (const GeometryChange &g : change.geometry) {
    SetGeometry(*g.control, undo ? g.before : g.after);
    follow(g.frame, *g.control);
  }
  // The panel's own values first: a record's internal name is put back
  // under the panel's name.
  if (change.panelBefore) {
    putBackPanel(m_model, *change.panelBefore, *change.panelAfter, undo);
    batch.add(Caption);
  }
  const QString namedAs =
      undo || !change.panelAfter ? change.panelName : change.panelAfter->canvas.Tag;
  for (PropertyChange &p : change.properties) {
    const ControlCopy &target = undo ? p.before : p.after;
    SetGeometry(*p.control, undo ? p.geometryBefore : p.geometryAfter);
    if (target.control) p.control->assignFrom(*target.control);
    if (p.record && p.before.record && p.after.record)
      putRecordBack(*p.record, *p.before.record, *p.after.record, undo, namedAs,
                    m_model.pictMain.Tag);
    if (p.record) follow(p.record->lngPictResizeIndex, *p.control);
  }

  if (undo) {
    for (auto it = change.removed.rbegin(); it != change.removed.rend(); ++it) {
      putControlBack(m_model, *it);
      putRecordBack(m_model, *it);
    }
  } else {
    // Controls by their place in the drawing order, records by theirs.
    for (PresenceChange &p : change.added) putControlBack(m_model, p);
    std::vector<PresenceChange *> byRecord;
    for (PresenceChange &p : change.added) byRecord.push_back(&p);
    std::sort(byRecord.begin(), byRecord.end(),
              [](const PresenceChange *a, const PresenceChange *b) {
                return a->recordPosition < b->recordPosition;
              });
    for (PresenceChange *p : byRecord) putRecordBack(m_model, *p);
  }

  restoreSelection(undo ? change.selectionBefore : change.selectionAfter);
  selectionClicked();  // arrow presses after an undo or redo start a step of their own
  RequestFillProperties();
}

void frmPanel::restoreSelection(const SelectionState &target) {
  if (collSelectedControls != target.selected) {
    // Frames show exactly the selected controls.
    std::unordered_map<const DesignObject *, int> frames;
    for (const auto &record : m_model.PanelDetails.CollControls)
      if (record->cntrlObject) frames.emplace(record->cntrlObject, record->lngPictResizeIndex);
    auto frameOf = [&](const DesignControl *c) {
      const auto found = frames.find(c);
      return found == frames.end() ? nullptr : m_model.Frame(found->second);
    };
    const std::unordered_set<const DesignControl *> keep(target.selected.begin(),
                                                         target.selected.end());
    for (const DesignControl *c : collSelectedControls)
      if (!keep.count(c))
        if (ResizeFrame *frame = frameOf(c)) frame->Visible = false;
    collSelectedControls = target.selected;
    for (const DesignControl *c : collSelectedControls)
      if (ResizeFrame *frame = frameOf(c)) {
        frame->Visible = true;
        PlaceFrame(*frame, *c);
      }
  }
  objCurrentControl = target.current;
  m_focusObject = target.focusObject;
  m_focusFrame = target.focusFrame;
}
