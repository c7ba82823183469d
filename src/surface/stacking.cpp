// The stacking order: Bring to Front, Send to Back, one place forward or
// backward, a block moved in the control list, and selecting from that list.
// The order of the control list is the drawing order; a new order puts the
// records (the order the file keeps) in the same order.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "surface/paneleditor.h"

namespace {
const QString &stepName(PanelEditor::Stacking how) {
  static const QString names[] = {QStringLiteral("Bring to Front"), QStringLiteral("Send to Back"),
                                  QStringLiteral("Bring Forward"), QStringLiteral("Send Backward")};
  return names[int(how)];
}
}  // namespace

std::vector<DesignControl *> PanelEditor::restacked(Stacking how) const {
  std::vector<DesignControl *> order = m_model.zOrder();
  const std::unordered_set<const DesignControl *> selected(m_selectedControls.begin(),
                                                           m_selectedControls.end());
  auto isSelected = [&](const DesignControl *c) { return selected.count(c) > 0; };
  switch (how) {
    case Stacking::ToFront:
      std::stable_partition(order.begin(), order.end(),
                            [&](const DesignControl *c) { return !isSelected(c); });
      break;
    case Stacking::ToBack:
      std::stable_partition(order.begin(), order.end(), isSelected);
      break;
    case Stacking::Forward:
      // From the front down, so that a block of selected controls moves as one.
      for (size_t i = order.size(); i-- > 1;)
        if (isSelected(order[i - 1]) && !isSelected(order[i])) std::swap(order[i - 1], order[i]);
      break;
    case Stacking::Backward:
      for (size_t i = 1; i < order.size(); ++i)
        if (isSelected(order[i]) && !isSelected(order[i - 1])) std::swap(order[i - 1], order[i]);
      break;
  }
  return order;
}

bool PanelEditor::canRestack(Stacking how) const {
  return !m_selectedControls.empty() && restacked(how) != m_model.zOrder();
}

void PanelEditor::restack(Stacking how) {
  if (m_selectedControls.empty()) return;
  restack(stepName(how), restacked(how));
}

void PanelEditor::moveInStack(const std::vector<DesignControl *> &controls, size_t place) {
  const std::unordered_set<const DesignControl *> moving(controls.begin(), controls.end());
  std::vector<DesignControl *> order, block;
  for (DesignControl *c : m_model.zOrder()) (moving.count(c) ? block : order).push_back(c);
  if (block.empty()) return;
  order.insert(order.begin() + std::ptrdiff_t(std::min(place, order.size())), block.begin(),
               block.end());
  restack(QStringLiteral("Change Stacking Order"), std::move(order));
}

void PanelEditor::restack(const QString &name, std::vector<DesignControl *> order) {
  if (order == m_model.zOrder()) return;
  EditStep step(*this, name);
  Batch batch(*this);
  batch.add(Order);
  m_model.setZOrder(order);

  // The records of the controls take the places among the records that
  // those records held, in the new order; a record without a control stays.
  std::unordered_map<const DesignControl *, size_t> place;
  place.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) place.emplace(order[i], i);
  auto &records = m_model.panelRecord.records;
  std::vector<size_t> spots;
  std::vector<std::unique_ptr<ControlRecord>> moving;
  for (size_t i = 0; i < records.size(); ++i)
    if (records[i]->control && place.count(records[i]->control)) {
      spots.push_back(i);
      moving.push_back(std::move(records[i]));
    }
  std::stable_sort(moving.begin(), moving.end(), [&](const auto &a, const auto &b) {
    return place.at(a->control) < place.at(b->control);
  });
  for (size_t k = 0; k < spots.size(); ++k) records[spots[k]] = std::move(moving[k]);
}

void PanelEditor::selectControls(const std::vector<DesignControl *> &controls,
                                 DesignControl *current) {
  Batch batch(*this);
  batch.add(Selection);
  selectionClicked();
  std::unordered_set<const DesignControl *> wanted;
  for (DesignControl *c : controls)
    if (controlOfThisPanel(c)) wanted.insert(c);
  if (wanted.empty()) {
    canvasGotFocus();
    return;
  }
  // Those selected already keep their places: spreading orders equal
  // positions by the order of selection.
  std::vector<DesignControl *> selection;
  std::unordered_set<const DesignControl *> taken;
  for (DesignControl *c : m_selectedControls) {
    if (wanted.count(c)) {
      selection.push_back(c);
      taken.insert(c);
    } else {
      hideFrame(c);
    }
  }
  for (DesignControl *c : controls)
    if (wanted.count(c) && taken.insert(c).second) selection.push_back(c);
  m_selectedControls = std::move(selection);
  for (const DesignControl *c : m_selectedControls) showFrame(c);
  DesignControl *now = wanted.count(current) ? current : m_selectedControls.front();
  m_currentControl = now;
  setFocus(now);
  requestFillProperties();
}
