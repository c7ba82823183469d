// Name, caption and hardware button edits that can number every selected
// control in reading order: "Mic1", "Mic2", ...

#include <algorithm>
#include <tuple>
#include <utility>

#include "grid/gridsupport.h"
#include "grid/mappingbuild.h"
#include "grid/propertygrid.h"
#include "model/names.h"
#include "model/uiservice.h"
#include "surface/paneleditor.h"

namespace {

// The selected controls of the given kinds ordered by top, then left, then
// the order in which they were selected.
std::vector<DesignControl *> readingOrder(const PanelEditor &panel, KindSet kinds) {
  struct Entry {
    qint32 top, left;
    size_t place;
    DesignControl *control;
  };
  std::vector<Entry> entries;
  const auto &selection = panel.selectedControls();
  for (size_t i = 0; i < selection.size(); ++i)
    if (DesignControl *c = selection[i]; c && kinds.contains(c->kind()))
      entries.push_back({c->top, c->left, i, c});
  std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
    return std::tie(a.top, a.left, a.place) < std::tie(b.top, b.left, b.place);
  });
  std::vector<DesignControl *> out;
  out.reserve(entries.size());
  for (const Entry &e : entries) out.push_back(e.control);
  return out;
}

// Asks whether to number a multiple selection; false when only one control
// is selected or the user says No.
bool numberIncrementally(PanelEditor &panel, const char *what) {
  if (panel.selectedControls().size() <= 1) return false;
  const QString question =
      QStringLiteral("Multiple controls are selected.  Would you like to %1 incrementally?")
          .arg(QLatin1String(what));
  return panel.ui().message(question, Ui::Buttons::YesNo) == Ui::Answer::Yes;
}

void setCaption(DesignControl &control, const QString &cell) {
  const QString caption = cellToCaption(cell);
  if (auto *button = controlCast<DesignButton>(&control)) button->caption = caption;
  if (auto *label = controlCast<DesignLabel>(&control)) label->text = caption;
  if (auto *fader = controlCast<DesignMeterFader>(&control)) fader->meterName = caption;
}

}  // namespace

void PropertyGrid::nameEdited(ControlRecord &record) {
  QPointer<PanelEditor> panel = m_panel;
  DesignControl *shown = record.control;
  if (!panel || !shown) return;
  PanelModel &model = panel->model();
  const QString name = textMatrix(CommonRow::Name, 1);
  if (name.isEmpty() || !nameFitsFiles(*panel, name)) {  // a control always keeps a name
    setTextMatrix(CommonRow::Name, 1, m_currentName);
    return;
  }

  if (!numberIncrementally(*panel, "name them")) {
    if (!model.checkForDuplicateName(name, shown)) {
      shown->tag = name;
    } else {
      setTextMatrix(CommonRow::Name, 1, m_currentName);
      panel->ui().message(
          QStringLiteral("The selected name is already in use.  Reverting to original name."));
    }
    if (const HardwareRows hw = hardwareRowsOf(kind()); hw.valid()) {
      const QString internalName = model.canvas.tag + u'.' + shown->tag;
      setTextMatrix(hw.internalName, 1, internalName);
      record.setHWMapInternalName(internalName);
    }
  } else {
    QString previous;
    bool first = true;
    for (DesignControl *control : readingOrder(*panel, kNamedKinds)) {
      QString candidate = std::exchange(first, false) ? name : nextIncrementalName(previous);
      while (!candidate.isEmpty() && model.checkForDuplicateName(candidate, control))
        candidate = nextIncrementalName(candidate);
      if (candidate.isEmpty()) break;  // the number ran out of range
      control->tag = candidate;
      if (ControlRecord *r = model.findRecord(control))
        r->setHWMapInternalName(model.canvas.tag + u'.' + candidate);
      previous = candidate;
    }
  }
  if (panel) panel->requestFillProperties();
}

void PropertyGrid::captionEdited(ControlRecord &record) {
  QPointer<PanelEditor> panel = m_panel;
  if (!panel || !record.control) return;
  const QString typed = textMatrix(CommonRow::Caption, 1);
  if (!numberIncrementally(*panel, "set captions")) {
    setCaption(*record.control, typed);
  } else {
    QString text = typed;
    bool first = true;
    for (DesignControl *control : readingOrder(*panel, kButtonsAndLabels)) {
      if (!std::exchange(first, false)) text = nextIncrementalName(text);
      setCaption(*control, text);
    }
  }
  if (panel) panel->requestFillProperties();
}

void PropertyGrid::mapPinEdited(ControlRecord &record) {
  QPointer<PanelEditor> panel = m_panel;
  const HardwareRows hw = hardwareRowsOf(kind());
  if (!panel || !hw.valid()) return;
  const QString typed = textMatrix(hw.pin, 1);
  const QString module = textMatrix(hw.module, 1);
  auto rebuild = [&](ControlRecord &r, const QString &pin) {
    const auto code = replaceMappingButton(r.hwMapType, r.hwMapAoipSysName, module, pin);
    if (!code) throw GridEditError("no module to map the button to");
    r.hwMapAoipSysName = *code;
  };

  if (!numberIncrementally(*panel, "set mapping")) {
    rebuild(record, typed);
  } else {
    QString text = typed;
    bool first = true;
    for (DesignControl *control : readingOrder(*panel, kButtonsAndLabels)) {
      if (!std::exchange(first, false)) text = nextIncrementalName(text);
      if (ControlRecord *r = panel->model().findRecord(control)) rebuild(*r, text);
    }
  }
  if (panel) panel->requestFillProperties();
}
