#include "app/panelreplace.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <functional>

#include "app/panelfinder.h"
#include "app/panelsearch.h"
#include "app/parallel.h"
#include "hwmap/hardwaremap.h"
#include "model/codepage.h"
#include "model/controlrecord.h"
#include "model/names.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "panelfile/localstore.h"
#include "surface/paneleditor.h"

namespace {

// The object a field belongs to: a control with its record, or the panel.
struct Target {
  PanelModel &panel;
  const HardwareMap *map;            // the map the panel is saved into; null: none
  DesignControl *control = nullptr;  // null: the panel's own field
  ControlRecord *record = nullptr;
};

// Why a field cannot take a value; empty when it can.
using Check = QString (*)(const Target &, const QString &value);

struct Field {
  const char *label;
  bool ofPanel;
  QString (*read)(const Target &);
  void (*write)(Target &, const QString &);
  Check check = nullptr;
};

// The text a control shows: a button's caption, a label's text, a
// meter-fader's meter name; null for other kinds.
QString *captionOf(DesignControl &control) {
  if (auto *button = controlCast<DesignButton>(&control)) return &button->caption;
  if (auto *label = controlCast<DesignLabel>(&control)) return &label->text;
  if (auto *fader = controlCast<DesignMeterFader>(&control)) return &fader->meterName;
  return nullptr;
}

bool hasHardwareRows(const DesignControl &control) {
  return control.kind() == ControlKind::Button || control.kind() == ControlKind::Label;
}

void rename(Target &t, const QString &name) {
  t.control->tag = name;
  // The map entry follows the name, as a name typed in the grid does.
  if (hasHardwareRows(*t.control)) t.record->setHWMapInternalName(t.panel.canvas.tag + u'.' + name);
}

// A renamed button or label takes the map entry named after its panel and
// its new name. An entry of that name that none of the panel's controls had
// is another control's (panel "Studio"'s control "v2.B1" is entry
// "Studio.v2.B1", as is panel "Studio.v2"'s "B1"): the rename would replace
// its binding.
QString checkMapEntry(const Target &t, const QString &name) {
  if (!t.map || !hasHardwareRows(*t.control)) return QString();
  const QString entry = t.panel.canvas.tag + u'.' + name;
  if (!t.map->Find(entry) || t.panel.mapEntriesSinceOpened().contains(entry.trimmed().toLower()))
    return QString();
  return QStringLiteral("The hardware map already holds an entry \"%1\" for another control.")
      .arg(entry);
}

QString checkName(const Target &t, const QString &name) {
  if (controlCast<DesignKept>(t.control))
    return QStringLiteral("This version keeps the control as it was read and cannot rename it.");
  if (name.trimmed().isEmpty()) return QStringLiteral("A control needs a name.");
  const QString unstorable = nameStorageProblem(name);
  return unstorable.isEmpty() ? checkMapEntry(t, name) : unstorable;
}

QString checkWholeNumber(const Target &, const QString &value) {
  bool ok = false;
  value.trimmed().toInt(&ok);
  return ok ? QString() : QStringLiteral("\"%1\" is not a whole number.").arg(value);
}

// A binding held in the hardware map needs all its values: an empty one
// would drop the control's entry from the map.
QString checkBinding(const Target &, const QString &value) {
  return value.trimmed().isEmpty()
             ? QStringLiteral("An empty value would remove the control's hardware binding.")
             : QString();
}

QString checkPort(const Target &t, const QString &value) {
  bool ok = false;
  const int port = value.trimmed().toInt(&ok);
  return ok && port >= 1 && port <= 65535
             ? checkBinding(t, value)
             : QStringLiteral("\"%1\" is not a port number (1-65535).").arg(value);
}

template <QString ControlRecord::*Member>
QString recordText(const Target &t) {
  return t.record->*Member;
}
template <QString ControlRecord::*Member>
void setRecordText(Target &t, const QString &value) {
  t.record->*Member = value;
}
template <qint32 ControlRecord::*Member>
QString meterNumber(const Target &t) {
  const ControlKind kind = t.control->kind();
  return kind == ControlKind::Meter || kind == ControlKind::MeterFader
             ? QString::number(t.record->*Member)
             : QString();
}
template <qint32 ControlRecord::*Member>
void setMeterNumber(Target &t, const QString &value) {
  t.record->*Member = value.trimmed().toInt();
}

using R = ControlRecord;

// In the order Find lists its hits.
const Field kFields[] = {
    {"Caption", true, [](const Target &t) { return t.panel.caption; },
     [](Target &t, const QString &v) { t.panel.caption = v; }},
    {"OnLoad", true, [](const Target &t) { return t.panel.panelRecord.onLoad; },
     [](Target &t, const QString &v) { t.panel.panelRecord.onLoad = v; }},
    {"Name", false, [](const Target &t) { return QString(t.control->tag); }, rename, checkName},
    {"Caption", false,
     [](const Target &t) {
       const QString *caption = captionOf(*t.control);
       return caption ? *caption : QString();
     },
     [](Target &t, const QString &v) { *captionOf(*t.control) = v; }},
    {"URL", false,
     [](const Target &t) {
       const auto *browser = controlCast<DesignWebBrowser>(t.control);
       return browser ? browser->locationURL : QString();
     },
     [](Target &t, const QString &v) {
       t.record->webURL = v;
       if (!v.isEmpty()) controlCast<DesignWebBrowser>(t.control)->locationURL = v;
     }},
    {"OnClick", false, recordText<&R::click>, setRecordText<&R::click>},
    {"OnMouseDown", false, recordText<&R::mouseDown>, setRecordText<&R::mouseDown>},
    {"OnMouseUp", false, recordText<&R::mouseUp>, setRecordText<&R::mouseUp>},
    {"MapRouter", false, recordText<&R::mapRouter>, setRecordText<&R::mapRouter>},
    {"MapSource", false, recordText<&R::mapSource>, setRecordText<&R::mapSource>},
    {"MapDestination", false, recordText<&R::mapDestination>, setRecordText<&R::mapDestination>},
    {"HWMapAoipSysName", false, recordText<&R::hwMapAoipSysName>,
     setRecordText<&R::hwMapAoipSysName>, checkBinding},
    {"HWMapHostIP", false, recordText<&R::hwMapHostIP>, setRecordText<&R::hwMapHostIP>,
     checkBinding},
    {"HWMapHostPort", false, recordText<&R::hwMapHostPort>, setRecordText<&R::hwMapHostPort>,
     checkPort},
    {"Router Number", false, meterNumber<&R::meterRouterNumber>,
     setMeterNumber<&R::meterRouterNumber>, checkWholeNumber},
    {"IO Number", false, meterNumber<&R::meterIONumber>, setMeterNumber<&R::meterIONumber>,
     checkWholeNumber},
};

// The names of one panel's controls in lower case, as changes are made (or
// would be): the duplicate test of a rename.
class NameCounts {
 public:
  explicit NameCounts(const PanelModel &panel) {
    for (const auto &record : panel.panelRecord.records)
      if (record && record->control) ++m_count[record->control->tag.toLower()];
  }
  bool takenByAnother(const QString &from, const QString &to) const {
    return to.compare(from, Qt::CaseInsensitive) != 0 && m_count.value(to.toLower()) > 0;
  }
  void renamed(const QString &from, const QString &to) {
    if (--m_count[from.toLower()] <= 0) m_count.remove(from.toLower());
    ++m_count[to.toLower()];
  }

 private:
  QHash<QString, int> m_count;
};

QString changeKey(const QString &control, const QString &field, const QString &before) {
  return control + u'\n' + field + u'\n' + before;
}

// Walks the fields of one panel that hold the text. Each change is listed
// (only those in `chosen`, when given) with the reason it cannot be made;
// with `make`, those that can be made are made, `make` being called for
// each control before its first change. A new name is cleaned as the grid
// cleans a typed one; `map` is the map the panel is saved into.
std::vector<ReplaceChange> replaceInPanel(PanelModel &panel, const ReplaceRequest &request,
                                          const HardwareMap *map, const QSet<QString> *chosen,
                                          const std::function<void(DesignControl *)> &make) {
  std::vector<ReplaceChange> changes;
  const FindQuery query(request.find);
  if (query.isEmpty()) return changes;
  NameCounts names(panel);
  const QString badCharacters = charactersOutsideWindows1252(request.replacement);
  auto visit = [&](Target target) {
    const QString controlName = target.control ? QString(target.control->tag) : QString();
    bool touched = false;
    for (const Field &field : kFields) {
      if (field.ofPanel != !target.control) continue;
      if (!request.field.isEmpty() && request.field != QLatin1String(field.label)) continue;
      // Of a kept control only the name is a field; its text follows below.
      if (field.write != rename && controlCast<DesignKept>(target.control)) continue;
      const QString before = field.read(target);
      if (before.isEmpty() || !query.matches(before)) continue;
      ReplaceChange change;
      change.file = panel.documentPath;
      change.panelName = panel.canvas.tag;
      change.control = controlName;
      change.field = QLatin1String(field.label);
      change.before = before;
      const bool isName = field.write == rename;
      change.after = query.replaced(before, request.replacement);
      if (isName) change.after = cleanName(change.after);
      if (change.after == before) continue;
      if (chosen && !chosen->contains(changeKey(controlName, change.field, before))) continue;
      if (!badCharacters.isEmpty() && !isName)
        change.refused = QStringLiteral("\"%1\" holds characters a panel file cannot store (%2).")
                             .arg(change.after, badCharacters);
      else if (field.check)
        change.refused = field.check(target, change.after);
      if (change.refused.isEmpty() && isName && names.takenByAnother(before, change.after))
        change.refused =
            QStringLiteral("Another control of the panel is named \"%1\".").arg(change.after);
      if (change.refused.isEmpty()) {
        if (isName) names.renamed(before, change.after);
        if (make) {
          if (!std::exchange(touched, true) && target.control) make(target.control);
          field.write(target, change.after);
        }
      }
      changes.push_back(std::move(change));
    }
    // Find also shows the lines of a kept control's text; they are listed,
    // and stay as they are.
    const auto *kept = controlCast<DesignKept>(target.control);
    if (!kept || !request.field.isEmpty()) return;
    const QString field = QStringLiteral("Text");
    for (const QString &line : query.matchingLines(kept->source)) {
      const QString after = query.replaced(line, request.replacement);
      if (after == line || (chosen && !chosen->contains(changeKey(controlName, field, line))))
        continue;
      changes.push_back({panel.documentPath, panel.canvas.tag, nullptr, controlName, field, line,
                         after,
                         QStringLiteral("This version keeps the control as it was read and "
                                        "cannot change its text.")});
    }
  };
  visit(Target{panel, map});
  for (const auto &record : panel.panelRecord.records)
    if (record && record->control) visit(Target{panel, map, record->control, record.get()});
  return changes;
}

QString notReadText(const QString &why) {
  return QStringLiteral("The file cannot be read: ") + why;
}

void addTo(ReplaceOutcome &outcome, std::vector<ReplaceChange> &&changes) {
  for (ReplaceChange &change : changes)
    (change.refused.isEmpty() ? outcome.made : outcome.refused).push_back(std::move(change));
}

// One open panel's changes as one undo step.
void applyInWindow(PanelEditor &window, const ReplaceRequest &request, const QSet<QString> &chosen,
                   const HardwareMap &map, ReplaceOutcome &outcome) {
  std::vector<ReplaceChange> changes;
  {
    const bool anyControl = std::any_of(chosen.begin(), chosen.end(),
                                        [](const QString &key) { return !key.startsWith(u'\n'); });
    PanelEditor::EditStep step(
        window, anyControl ? QStringLiteral("Replace in") : QStringLiteral("Replace in Panel"),
        anyControl ? PanelEditor::StepName::WithControls : PanelEditor::StepName::AsIs);
    PanelEditor::Batch views(window);
    views.add(PanelEditor::Properties | PanelEditor::Caption);
    changes = replaceInPanel(window.model(), request, &map, &chosen,
                             [&step](DesignControl *control) { step.touch(control); });
  }
  for (ReplaceChange &change : changes) change.panel = &window;
  window.requestFillProperties();
  addTo(outcome, std::move(changes));
}

// One closed file, read again with the map as it is now, changed and saved
// whole, or left as it is.
void applyToFile(const QString &file, const ReplaceRequest &request, const QSet<QString> &chosen,
                 Ui &ui, ReplaceOutcome &outcome) {
  std::vector<ReplaceChange> changes;
  QString why;
  const auto change = [&](PanelModel &panel, const HardwareMap &map) {
    changes = replaceInPanel(panel, request, &map, &chosen, [](auto *) {});
    return std::any_of(changes.begin(), changes.end(),
                       [](const ReplaceChange &c) { return c.refused.isEmpty(); });
  };
  switch (changePanelFile(file, change, ui, &why)) {
    case FileChange::NotRead:
      outcome.failed.push_back({file, notReadText(why)});
      return;
    case FileChange::NotSaved:
      outcome.failed.push_back({file, QStringLiteral("Error Saving File - ") + why});
      return;
    case FileChange::Saved:
    case FileChange::Unchanged:
      addTo(outcome, std::move(changes));
  }
}

}  // namespace

const QStringList &replaceFieldLabels() {
  static const QStringList labels = [] {
    QStringList out;
    for (const Field &field : kFields)
      if (!out.contains(QLatin1String(field.label))) out << QLatin1String(field.label);
    return out;
  }();
  return labels;
}

ReplacePlan planReplace(const ReplaceRequest &request, const std::vector<PanelEditor *> &open,
                        const QStringList &files, const HardwareMap &map) {
  ReplacePlan plan;
  for (PanelEditor *window : open) {
    for (ReplaceChange &change : replaceInPanel(window->model(), request, &map, nullptr, {})) {
      change.panel = window;
      plan.changes.push_back(std::move(change));
    }
  }
  QStringList closed;
  for (const QString &file : files)
    if (!openPanelOfFile(file, open)) closed << file;
  std::vector<std::vector<ReplaceChange>> perFile(size_t(closed.size()));
  std::vector<QString> unreadable(size_t(closed.size()));
  forEachOnAllCores(closed.size(), [&](qsizetype i) {
    PanelModel panel;
    QString why;
    if (readClosedPanelFile(closed[i], panel, map, &why))
      perFile[size_t(i)] = replaceInPanel(panel, request, &map, nullptr, {});
    else
      unreadable[size_t(i)] = notReadText(why);
  });
  for (qsizetype i = 0; i < closed.size(); ++i) {
    if (!unreadable[size_t(i)].isEmpty())
      plan.skipped.push_back({closed[i], unreadable[size_t(i)]});
    for (ReplaceChange &change : perFile[size_t(i)]) plan.changes.push_back(std::move(change));
  }
  return plan;
}

ReplaceOutcome applyReplace(const ReplaceRequest &request, const std::vector<ReplaceChange> &chosen,
                            const std::vector<PanelEditor *> &open, Ui &ui) {
  // The chosen changes by the panel they belong to: an open window (the one
  // of the plan, else the window now showing the file) or a closed file.
  std::vector<std::pair<PanelEditor *, QSet<QString>>> windows;
  std::vector<std::pair<QString, QSet<QString>>> files;
  for (const ReplaceChange &change : chosen) {
    if (!change.refused.isEmpty()) continue;
    const QString key = changeKey(change.control, change.field, change.before);
    PanelEditor *window = std::find(open.begin(), open.end(), change.panel) != open.end()
                              ? change.panel
                              : openPanelOfFile(change.file, open);
    if (window) {
      auto it = std::find_if(windows.begin(), windows.end(),
                             [&](const auto &w) { return w.first == window; });
      (it == windows.end() ? windows.emplace_back(window, QSet<QString>()) : *it).second << key;
    } else if (!change.panel && !change.file.isEmpty()) {
      auto it = std::find_if(files.begin(), files.end(),
                             [&](const auto &f) { return f.first == change.file; });
      (it == files.end() ? files.emplace_back(change.file, QSet<QString>()) : *it).second << key;
    }
  }
  ReplaceOutcome outcome;
  if (!windows.empty()) {
    const HardwareMap map = HardwareMap::fromFile(programSettings().hardwareMapFile);
    for (auto &[window, keys] : windows) applyInWindow(*window, request, keys, map, outcome);
  }
  // Each file is read and saved with the map as it is then, under its lock.
  for (auto &[file, keys] : files) applyToFile(file, request, keys, ui, outcome);
  // A chosen change that matched nothing any more: its field changed meanwhile.
  for (const ReplaceChange &change : chosen) {
    if (!change.refused.isEmpty()) continue;
    const auto same = [&](const ReplaceChange &c) {
      return c.file == change.file && c.control == change.control && c.field == change.field &&
             c.before == change.before;
    };
    const bool failedFile =
        std::any_of(outcome.failed.begin(), outcome.failed.end(),
                    [&](const SkippedFile &f) { return f.file == change.file; });
    if (failedFile || std::any_of(outcome.made.begin(), outcome.made.end(), same) ||
        std::any_of(outcome.refused.begin(), outcome.refused.end(), same))
      continue;
    ReplaceChange gone = change;
    const bool windowClosed = change.panel && !openPanelOfFile(change.file, open) &&
                              std::find(open.begin(), open.end(), change.panel) == open.end();
    gone.panel = windowClosed ? nullptr : change.panel;  // never a pointer to a closed window
    gone.refused = windowClosed
                       ? QStringLiteral("The panel was closed since the preview; preview again.")
                       : QStringLiteral("The field no longer holds \"%1\".").arg(change.before);
    outcome.refused.push_back(std::move(gone));
  }
  return outcome;
}

int ReplaceOutcome::controlCount() const {
  QSet<QString> controls;
  for (const ReplaceChange &c : made) controls << c.file + u'\n' + c.panelName + u'\n' + c.control;
  return int(controls.size());
}

int ReplaceOutcome::panelCount() const {
  QSet<QString> panels;
  for (const ReplaceChange &c : made) panels << c.file + u'\n' + c.panelName;
  return int(panels.size());
}
