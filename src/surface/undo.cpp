// Undo and redo: recording one user action as one step of the panel
// window's undo stack, and putting a step's before or after state back.
#include <QUndoCommand>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "surface/frameedges.h"
#include "surface/panelchange.h"
#include "surface/paneleditor.h"

// One step on the stack: the change its action made, put back on undo and
// again on redo.
class PanelEditCommand : public QUndoCommand {
 public:
  PanelEditCommand(PanelEditor &panel, QString name, PanelEditor::StepName naming,
                   PanelEditor::MergeKind merge, quint64 generation, PanelChange change)
      : m_panel(panel),
        m_name(std::move(name)),
        m_naming(naming),
        m_merge(merge),
        m_generation(generation),
        m_change(std::move(change)) {
    updateText();
  }

  int id() const override { return m_merge == PanelEditor::NoMerge ? -1 : int(m_merge); }

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
    if (m_naming == PanelEditor::StepName::AsIs) {
      setText(m_name);
    } else if (const DesignControl *only = m_change.onlyControl()) {
      setText(m_name + u' ' + only->tag);
    } else {
      setText(QStringLiteral("%1 %2 Controls").arg(m_name).arg(m_change.controlCount()));
    }
  }

  PanelEditor &m_panel;
  QString m_name;
  PanelEditor::StepName m_naming;
  PanelEditor::MergeKind m_merge;
  quint64 m_generation;
  PanelChange m_change;
  bool m_done = false;
};

// ---------------------------------------------------------------- recording

PanelEditor::EditStep::EditStep(PanelEditor &panel, const QString &name, StepName naming,
                                MergeKind merge)
    : m_panel(panel), m_batch(panel) {
  m_panel.beginEdit(name, naming, merge);
}

PanelEditor::EditStep::~EditStep() { m_panel.endEdit(); }

void PanelEditor::EditStep::touchAll() {
  if (m_panel.m_recorder) m_panel.m_recorder->touchAll();
}

void PanelEditor::touch(DesignControl *control) {
  if (m_recorder && controlOfThisPanel(control)) m_recorder->touch(control);
}

SelectionState PanelEditor::selectionState() const {
  return {m_selectedControls, m_currentControl, m_focusObject, m_focusFrame};
}

void PanelEditor::beginEdit(const QString &name, StepName naming, MergeKind merge) {
  if (m_editDepth++ > 0) return;  // joins the step being recorded
  m_editName = name;
  m_editNaming = naming;
  m_editMerge = merge;
  m_recorder = std::make_unique<ChangeRecorder>(m_model, selectionState());
  for (DesignControl *control : m_selectedControls) m_recorder->touch(control);
  touch(dynamic_cast<DesignControl *>(m_currentControl));
}

void PanelEditor::endEdit() {
  if (m_editDepth == 0 || --m_editDepth > 0) return;
  commitEdit();
}

void PanelEditor::commitEdit() {
  const std::unique_ptr<ChangeRecorder> recorder = std::move(m_recorder);
  PanelChange change = recorder->finish(selectionState());
  if (change.empty()) return;
  m_undoStack.push(new PanelEditCommand(*this, m_editName, m_editNaming, m_editMerge,
                                        m_selectionGeneration, std::move(change)));
}

void PanelEditor::finishGesture() {
  if (!m_gestureOpen) return;
  m_gestureOpen = false;
  m_resizing = m_moving = false;
  endSnapping();
  endEdit();
}

void PanelEditor::undo() {
  finishGesture();
  if (m_editDepth == 0) m_undoStack.undo();
}

void PanelEditor::redo() {
  finishGesture();
  if (m_editDepth == 0) m_undoStack.redo();
}

bool PanelEditor::needToSave() const { return m_changedOutsideSteps || !m_undoStack.isClean(); }

void PanelEditor::setNeedToSave(bool value) {
  if (value) {
    if (m_editDepth > 0) return;  // the step being recorded marks the panel if it changed anything
    m_changedOutsideSteps = true;
  } else {
    m_changedOutsideSteps = false;
    m_undoStack.setClean();
  }
  emit needToSaveChanged(needToSave());
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
  PanelCanvas &canvas = model.canvas;
  putBack(canvas.tag, before.canvas.tag, after.canvas.tag, undo);
  putBack(canvas.backColor, before.canvas.backColor, after.canvas.backColor, undo);
  putBack(canvas.foreColor, before.canvas.foreColor, after.canvas.foreColor, undo);
  putBack(canvas.picture, before.canvas.picture, after.canvas.picture, undo);
  putBack(canvas.width, before.canvas.width, after.canvas.width, undo);
  putBack(canvas.height, before.canvas.height, after.canvas.height, undo);
  putBack(model.caption, before.caption, after.caption, undo);
  putBack(model.width, before.width, after.width, undo);
  putBack(model.height, before.height, after.height, undo);
  putBack(model.defaultPictureFolder, before.defaultPictureFolder, after.defaultPictureFolder,
          undo);
  PanelRecord &d = model.panelRecord;
  putBack(d.pictureSourcePath, before.pictureSourcePath, after.pictureSourcePath, undo);
  putBack(d.panelPath, before.panelPath, after.panelPath, undo);
  putBack(d.backColorOn, before.backColorOn, after.backColorOn, undo);
  putBack(d.backColorOff, before.backColorOff, after.backColorOff, undo);
  putBack(d.picture, before.picture, after.picture, undo);
  putBack(d.onLoad, before.onLoad, after.onLoad, undo);
}

// A record back in the state before or after a step. Three of its values
// the program keeps up to date outside any step, so a step puts them back
// only when it changed them itself: the hardware type and port that showing
// a control fills in, and the internal name, which follows the panel's name
// when the panel is saved under another one. An internal name the step did
// change comes back with the panel's present name in front.
void putRecordBack(ControlRecord &live, const ControlRecord &before, const ControlRecord &after,
                   bool undo, const QString &namedAs, const QString &panelName) {
  const QString type = live.hwMapType, port = live.hwMapHostPort;
  const QString internalName = live.hwMapInternalName();
  live = undo ? before : after;
  if (before.hwMapType == after.hwMapType) live.hwMapType = type;
  if (before.hwMapHostPort == after.hwMapHostPort) live.hwMapHostPort = port;
  if (before.hwMapInternalName() == after.hwMapInternalName()) {
    live.setHWMapInternalName(internalName);
  } else if (const QString prefix = namedAs + u'.';
             namedAs != panelName && live.hwMapInternalName().startsWith(prefix)) {
    live.setHWMapInternalName(panelName + u'.' + live.hwMapInternalName().mid(prefix.size()));
  }
}

using Records = std::vector<std::unique_ptr<ControlRecord>>;

// Takes a control, its record and its frame out of the panel into the change.
void takeOut(PanelModel &model, PresenceChange &p) {
  p.heldControl = model.takeControl(p.control);
  if (!p.record) return;
  Records &records = model.panelRecord.records;
  auto it = p.recordPosition < records.size() && records[p.recordPosition].get() == p.record
                ? records.begin() + std::ptrdiff_t(p.recordPosition)
                : std::find_if(records.begin(), records.end(),
                               [&](const auto &r) { return r.get() == p.record; });
  if (it != records.end()) {
    p.heldRecord = std::move(*it);
    records.erase(it);
  }
  if (const ResizeFrame *frame = model.frame(p.record->frameIndex)) {
    p.frame = *frame;
    model.unloadFrame(frame->index);
  }
}

void putControlBack(PanelModel &model, PresenceChange &p) {
  if (p.heldControl) model.putControl(std::move(p.heldControl), p.zPosition);
}

// Puts a changed span of the stacking order back as it was before or after.
void putOrderBack(PanelModel &model, const OrderChange &order, bool undo) {
  if (!order.zOrder.empty()) {
    const auto &span = undo ? order.zOrder.before : order.zOrder.after;
    std::vector<DesignControl *> z = model.zOrder();
    if (order.zOrder.from + span.size() <= z.size()) {
      std::copy(span.begin(), span.end(), z.begin() + std::ptrdiff_t(order.zOrder.from));
      model.setZOrder(std::move(z));
    }
  }
  if (!order.records.empty()) {
    const auto &span = undo ? order.records.before : order.records.after;
    Records &records = model.panelRecord.records;
    const size_t from = order.records.from;
    if (from + span.size() > records.size()) return;
    std::unordered_map<const ControlRecord *, std::unique_ptr<ControlRecord> *> spots;
    for (size_t i = 0; i < span.size(); ++i)
      spots.emplace(records[from + i].get(), &records[from + i]);
    for (const ControlRecord *record : span)
      if (!spots.count(record)) return;  // not the span it was recorded on
    std::vector<std::unique_ptr<ControlRecord>> reordered;
    for (const ControlRecord *record : span) reordered.push_back(std::move(*spots.at(record)));
    std::move(reordered.begin(), reordered.end(), records.begin() + std::ptrdiff_t(from));
  }
}

void putRecordBack(PanelModel &model, PresenceChange &p) {
  Records &records = model.panelRecord.records;
  if (p.heldRecord) {
    const size_t at = std::min(p.recordPosition, records.size());
    records.insert(records.begin() + std::ptrdiff_t(at), std::move(p.heldRecord));
  }
  if (p.frame) model.putFrame(*p.frame);
}
}  // namespace

void PanelEditor::applyChange(PanelChange &change, bool undo) {
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
    if (ResizeFrame *frame = m_model.frame(frameIndex); frame && frame->visible)
      placeFrame(*frame, control);
  };
  for (const GeometryChange &g : change.geometry) {
    setGeometry(*g.control, undo ? g.before : g.after);
    follow(g.frame, *g.control);
  }
  // The panel's own values first: a record's internal name is put back
  // under the panel's name.
  if (change.panelBefore) {
    putBackPanel(m_model, *change.panelBefore, *change.panelAfter, undo);
    batch.add(Caption);
  }
  const QString namedAs =
      undo || !change.panelAfter ? change.panelName : change.panelAfter->canvas.tag;
  for (PropertyChange &p : change.properties) {
    const ControlCopy &target = undo ? p.before : p.after;
    setGeometry(*p.control, undo ? p.geometryBefore : p.geometryAfter);
    if (target.control) p.control->assignFrom(*target.control);
    if (p.record && p.before.record && p.after.record)
      putRecordBack(*p.record, *p.before.record, *p.after.record, undo, namedAs,
                    m_model.canvas.tag);
    if (p.record) follow(p.record->frameIndex, *p.control);
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
  requestFillProperties();
}

void PanelEditor::restoreSelection(const SelectionState &target) {
  if (m_selectedControls != target.selected) {
    // Frames show exactly the selected controls.
    std::unordered_map<const DesignObject *, int> frames;
    for (const auto &record : m_model.panelRecord.records)
      if (record->control) frames.emplace(record->control, record->frameIndex);
    auto frameOf = [&](const DesignControl *c) {
      const auto found = frames.find(c);
      return found == frames.end() ? nullptr : m_model.frame(found->second);
    };
    const std::unordered_set<const DesignControl *> keep(target.selected.begin(),
                                                         target.selected.end());
    for (const DesignControl *c : m_selectedControls)
      if (!keep.count(c))
        if (ResizeFrame *frame = frameOf(c)) frame->visible = false;
    m_selectedControls = target.selected;
    for (const DesignControl *c : m_selectedControls)
      if (ResizeFrame *frame = frameOf(c)) {
        frame->visible = true;
        placeFrame(*frame, *c);
      }
  }
  m_currentControl = target.current;
  m_focusObject = target.focusObject;
  m_focusFrame = target.focusFrame;
}
