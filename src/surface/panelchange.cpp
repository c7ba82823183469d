#include "surface/panelchange.h"

#include <algorithm>
#include <unordered_set>

ControlGeometry geometryOf(const DesignControl &control) {
  return {control.left, control.top, control.width, control.height};
}

void setGeometry(DesignControl &control, const ControlGeometry &geometry) {
  control.left = geometry.left;
  control.top = geometry.top;
  control.width = geometry.width;
  control.height = geometry.height;
}

PanelValues PanelValues::fromModel(const PanelModel &model) {
  const PanelRecord &d = model.panelRecord;
  return {model.canvas,
          model.caption,
          model.width,
          model.height,
          model.defaultPictureFolder,
          d.pictureSourcePath,
          d.panelPath,
          d.backColorOn,
          d.backColorOff,
          d.picture,
          d.onLoad};
}

bool PanelChange::empty() const {
  return geometry.empty() && properties.empty() && removed.empty() && added.empty() &&
         !panelBefore && order.empty();
}

int PanelChange::controlCount() const {
  return int(geometry.size() + properties.size() + removed.size() + added.size());
}

const DesignControl *PanelChange::onlyControl() const {
  if (controlCount() != 1) return nullptr;
  if (!geometry.empty()) return geometry.front().control;
  if (!properties.empty()) return properties.front().control;
  if (!removed.empty()) return removed.front().control;
  return added.front().control;
}

void PanelChange::mergeGeometry(const PanelChange &later) {
  std::unordered_map<const DesignControl *, size_t> place;
  place.reserve(geometry.size());
  for (size_t i = 0; i < geometry.size(); ++i) place.emplace(geometry[i].control, i);
  for (const GeometryChange &g : later.geometry) {
    const auto found = place.find(g.control);
    if (found != place.end())
      geometry[found->second].after = g.after;
    else
      geometry.push_back(g);  // untouched until now: its state before the later step is ours
  }
  selectionAfter = later.selectionAfter;
}

void PanelChange::dropUnchangedGeometry() {
  std::erase_if(geometry, [](const GeometryChange &g) { return g.before == g.after; });
}

ChangeRecorder::ChangeRecorder(PanelModel &model, SelectionState selection)
    : m_model(model),
      m_selection(std::move(selection)),
      m_panel(PanelValues::fromModel(model)),
      m_zOrder(model.zOrder()) {
  const auto &records = model.panelRecord.records;
  m_records.reserve(records.size());
  for (const auto &record : records) m_records.push_back(record.get());
}

ControlRecord *ChangeRecorder::recordOf(const DesignControl *control) {
  // A few look-ups walk the records; many (a large selection) use an index.
  constexpr size_t kWalkLimit = 16;
  if (m_recordIndex.empty() && m_touched.size() < kWalkLimit) return m_model.findRecord(control);
  if (m_recordIndex.empty()) {
    m_recordIndex.reserve(m_records.size());
    for (ControlRecord *record : m_records)
      if (record->control) m_recordIndex.emplace(record->control, record);  // first wins
  }
  const auto found = m_recordIndex.find(control);
  return found == m_recordIndex.end() ? nullptr : found->second;
}

void ChangeRecorder::touch(DesignControl *control) {
  if (!control || m_touched.count(control)) return;
  ControlRecord *record = recordOf(control);
  Before before{geometryOf(*control), {control->clone(), std::nullopt}, record};
  if (record) before.copy.record = *record;
  m_touched.emplace(control, std::move(before));
  m_touchOrder.push_back(control);
}

void ChangeRecorder::touchAll() {
  for (DesignControl *control : m_zOrder) touch(control);
}

void ChangeRecorder::removed(PresenceChange removal) { m_removed.push_back(std::move(removal)); }

void ChangeRecorder::findAdded(PanelChange &change) {
  // New controls: in the drawing order now but not before. Usually they
  // were put on top, after an unchanged order, which needs no look-up set.
  const auto &zOrder = m_model.zOrder();
  std::vector<size_t> newPlaces;
  const bool onTop = change.removed.empty() && zOrder.size() >= m_zOrder.size() &&
                     std::equal(m_zOrder.begin(), m_zOrder.end(), zOrder.begin());
  if (onTop) {
    for (size_t i = m_zOrder.size(); i < zOrder.size(); ++i) newPlaces.push_back(i);
  } else {
    const std::unordered_set<const DesignControl *> old(m_zOrder.begin(), m_zOrder.end());
    for (size_t i = 0; i < zOrder.size(); ++i)
      if (!old.count(zOrder[i])) newPlaces.push_back(i);
  }
  if (newPlaces.empty()) return;

  // Their records and places among the records.
  const auto &records = m_model.panelRecord.records;
  std::unordered_map<const DesignControl *, size_t> newRecords;
  const std::unordered_set<const ControlRecord *> oldRecords(m_records.begin(), m_records.end());
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i]->control && !oldRecords.count(records[i].get()))
      newRecords.emplace(records[i]->control, i);

  for (size_t place : newPlaces) {
    PresenceChange p;
    p.control = zOrder[place];
    p.zPosition = place;
    if (const auto found = newRecords.find(p.control); found != newRecords.end()) {
      p.recordPosition = found->second;
      p.record = records[found->second].get();
    }
    change.added.push_back(std::move(p));
  }
}

namespace {
// The list without the entries of `gone`.
template <class T>
std::vector<T *> without(const std::vector<T *> &list, const std::unordered_set<const T *> &gone) {
  if (gone.empty()) return list;
  std::vector<T *> kept;
  kept.reserve(list.size());
  for (T *item : list)
    if (!gone.count(item)) kept.push_back(item);
  return kept;
}

// The part of two lists of the same items that differs.
template <class T>
OrderSpan<T> differingSpan(const std::vector<T *> &before, const std::vector<T *> &after) {
  OrderSpan<T> span;
  if (before.size() != after.size() || before == after) return span;
  size_t first = 0, end = before.size();
  while (before[first] == after[first]) ++first;
  while (before[end - 1] == after[end - 1]) --end;
  span.from = first;
  span.before.assign(before.begin() + std::ptrdiff_t(first), before.begin() + std::ptrdiff_t(end));
  span.after.assign(after.begin() + std::ptrdiff_t(first), after.begin() + std::ptrdiff_t(end));
  return span;
}
}  // namespace

void ChangeRecorder::findOrder(PanelChange &change) {
  // Most actions keep the order: the lists compare equal at once.
  const auto &zOrder = m_model.zOrder();
  const auto &records = m_model.panelRecord.records;
  std::vector<ControlRecord *> recordsNow;
  recordsNow.reserve(records.size());
  for (const auto &record : records) recordsNow.push_back(record.get());

  std::unordered_set<const DesignControl *> goneControls, newControls;
  std::unordered_set<const ControlRecord *> goneRecords, newRecords;
  for (const PresenceChange &p : change.removed) {
    goneControls.insert(p.control);
    if (p.record) goneRecords.insert(p.record);
  }
  for (const PresenceChange &p : change.added) {
    newControls.insert(p.control);
    if (p.record) newRecords.insert(p.record);
  }
  change.order.zOrder =
      differingSpan(without(m_zOrder, goneControls), without(zOrder, newControls));
  change.order.records =
      differingSpan(without(m_records, goneRecords), without(recordsNow, newRecords));
}

PanelChange ChangeRecorder::finish(SelectionState selection) {
  PanelChange change;
  change.selectionBefore = std::move(m_selection);
  change.selectionAfter = std::move(selection);
  change.removed = std::move(m_removed);
  findAdded(change);
  findOrder(change);

  std::unordered_set<const DesignControl *> gone;
  for (const PresenceChange &p : change.removed) gone.insert(p.control);
  for (DesignControl *control : m_touchOrder) {
    if (gone.count(control)) continue;
    Before &before = m_touched.at(control);
    ControlRecord *record = before.record;
    const ControlGeometry now = geometryOf(*control);
    // Did anything but the geometry change? Compare the copy, moved to
    // where the control is now, with the control itself.
    setGeometry(*before.copy.control, now);
    const bool sameControl = before.copy.control->sameAs(*control);
    const bool sameRecord = !record || (before.copy.record && *before.copy.record == *record);
    if (sameControl && sameRecord) {
      if (!(before.geometry == now))
        change.geometry.push_back({control, record ? record->frameIndex : 0, before.geometry, now});
      continue;
    }
    PropertyChange p{control, record, before.geometry, now, {}, {}};
    if (!sameControl) {
      setGeometry(*before.copy.control, before.geometry);
      p.before.control = std::move(before.copy.control);
      p.after.control = control->clone();
    }
    if (!sameRecord) {
      p.before.record = std::move(before.copy.record);
      p.after.record = *record;
    }
    change.properties.push_back(std::move(p));
  }

  change.panelName = m_panel.canvas.tag;
  PanelValues now = PanelValues::fromModel(m_model);
  if (!(now == m_panel)) {
    change.panelBefore = std::move(m_panel);
    change.panelAfter = std::move(now);
  }
  return change;
}
