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
#include "surface/frmpanel.h"

namespace {

// The selected controls of the given kinds ordered by top, then left, then
// the order in which they were selected.
std::vector<DesignControl *> readingOrder(const frmPanel &panel, KindSet kinds) {
  struct Entry {
    qint32 top, left;
    size_t place;
    DesignControl *control;
  };
  std::vector<Entry> entries;
  const auto &selection = panel.collSelectedControls;
  for (size_t i = 0; i < selection.size(); ++i)
    if (DesignControl *c = selection[i]; c && kinds.contains(c->kind()))
      entries.push_back({c->Top, c->Left, i, c});
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
bool numberIncrementally(frmPanel &panel, const char *what) {
  if (panel.collSelectedControls.size() <= 1) return false;
  const QString question =
      QStringLiteral("Multiple controls are selected.  Would you like to %1 incrementally?")
          .arg(QLatin1String(what));
  return panel.ui().message(question, Ui::Buttons::YesNo) == Ui::Answer::Yes;
}

void setCaption(DesignControl &control, const QString &cell) {
  const QString caption = CellToCaption(cell);
  if (auto *button = As<DesignButton>(&control)) button->Caption = caption;
  if (auto *label = As<DesignLabel>(&control)) label->Text = caption;
  if (auto *fader = As<DesignMeterFader>(&control)) fader->MeterName = caption;
}

}  // namespace

void PropertyGrid::LocName_AfterEdit(clsControlDetails &record) {
  QPointer<frmPanel> panel = m_panel;
  DesignControl *shown = record.cntrlObject;
  if (!panel || !shown) return;
  PanelModel &model = panel->model();
  const QString name = TextMatrix(CommonRow::Name, 1);
  if (name.isEmpty() || !NameFitsFiles(*panel, name)) {  // a control always keeps a name
    setTextMatrix(CommonRow::Name, 1, m_CurrentName);
    return;
  }

  if (!numberIncrementally(*panel, "name them")) {
    if (!model.CheckForDuplicateName(name, shown)) {
      shown->Tag = name;
    } else {
      setTextMatrix(CommonRow::Name, 1, m_CurrentName);
      panel->ui().message(
          QStringLiteral("The selected name is already in use.  Reverting to original name."));
    }
    if (const HardwareRows hw = HardwareRowsOf(kind()); hw.valid()) {
      const QString internalName = model.pictMain.Tag + u'.' + shown->Tag;
      setTextMatrix(hw.internalName, 1, internalName);
      record.setHWMapInternalName(internalName);
    }
  } else {
    QString previous;
    bool first = true;
    for (DesignControl *control : readingOrder(*panel, kNamedKinds)) {
      QString candidate = std::exchange(first, false) ? name : GetNextIncrementalName(previous);
      while (!candidate.isEmpty() && model.CheckForDuplicateName(candidate, control))
        candidate = GetNextIncrementalName(candidate);
      if (candidate.isEmpty()) break;  // the number ran out of range
      control->Tag = candidate;
      if (clsControlDetails *r = model.FindRecord(control))
        r->setHWMapInternalName(model.pictMain.Tag + u'.' + candidate);
      previous = candidate;
    }
  }
  if (panel) panel->RequestFillProperties();
}

void PropertyGrid::LocCaption_AfterEdit(clsControlDetails &record) {
  QPointer<frmPanel> panel = m_panel;
  if (!panel || !record.cntrlObject) return;
  const QString typed = TextMatrix(CommonRow::Caption, 1);
  if (!numberIncrementally(*panel, "set captions")) {
    setCaption(*record.cntrlObject, typed);
  } else {
    QString text = typed;
    bool first = true;
    for (DesignControl *control : readingOrder(*panel, kButtonsAndLabels)) {
      if (!std::exchange(first, false)) text = GetNextIncrementalName(text);
      setCaption(*control, text);
    }
  }
  if (panel) panel->RequestFillProperties();
}

void PropertyGrid::LocMapPin_AfterEdit(clsControlDetails &record) {
  QPointer<frmPanel> panel = m_panel;
  const HardwareRows hw = HardwareRowsOf(kind());
  if (!panel || !hw.valid()) return;
  const QString typed = TextMatrix(hw.pin, 1);
  const QString module = TextMatrix(hw.module, 1);
  auto rebuild = [&](clsControlDetails &r, const QString &pin) {
    const auto code = ReplaceMappingButton(r.HWMapType, r.HWMapAoipSysName, module, pin);
    if (!code) throw GridEditError("no module to map the button to");
    r.HWMapAoipSysName = *code;
  };

  if (!numberIncrementally(*panel, "set mapping")) {
    rebuild(record, typed);
  } else {
    QString text = typed;
    bool first = true;
    for (DesignControl *control : readingOrder(*panel, kButtonsAndLabels)) {
      if (!std::exchange(first, false)) text = GetNextIncrementalName(text);
      if (clsControlDetails *r = panel->model().FindRecord(control)) rebuild(*r, text);
    }
  }
  if (panel) panel->RequestFillProperties();
}
