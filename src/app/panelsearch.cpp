#include "app/panelsearch.h"

#include <QDir>

#include "app/parallel.h"
#include "hwmap/hardwaremap.h"
#include "hwmap/mappingcode.h"
#include "model/controlrecord.h"
#include "model/panelmodel.h"
#include "panelfile/localstore.h"

namespace {

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The text a control shows: a button's caption, a label's text, a
// meter-fader's meter name.
QString captionOf(const DesignControl &control) {
  if (const auto *button = controlCast<DesignButton>(&control)) return button->caption;
  if (const auto *label = controlCast<DesignLabel>(&control)) return label->text;
  if (const auto *fader = controlCast<DesignMeterFader>(&control)) return fader->meterName;
  return QString();
}

bool isMeter(const DesignControl &control) {
  return control.kind() == ControlKind::Meter || control.kind() == ControlKind::MeterFader;
}

// Collects the matching fields of one control; a hit is built only when a
// field matches, as most controls hold none.
class ControlMatcher {
 public:
  // The matcher of a control, or of the panel itself when `control` is null.
  ControlMatcher(const FindQuery &query, const PanelModel &panel, const DesignControl *control,
                 std::vector<FindHit> &hits)
      : m_query(query), m_panel(panel), m_control(control), m_hits(hits) {}

  void field(const char *label, const QString &value) {
    if (value.isEmpty() || !m_query.matches(value)) return;
    FindHit hit;
    hit.panelName = m_panel.canvas.tag;
    hit.panelPath = m_panel.documentPath;
    if (m_control) hit.controlName = m_control->tag;
    hit.kind = m_control ? typeName(*m_control) : QStringLiteral("Panel");
    hit.field = QLatin1String(label);
    hit.value = value;
    m_hits.push_back(std::move(hit));
  }

  // The lines of a kept control's text that hold the query.
  void keptText(const QString &text) {
    for (const QString &line : m_query.matchingLines(text)) field("Text", line);
  }

  // The mapping code, then the two parts the grid shows it split into.
  void mappingCode(const QString &code) {
    if (code.isEmpty()) return;
    field("HWMapAoipSysName", code);
    const bool gpio = code.trimmed().startsWith(QLatin1String("port"), Qt::CaseInsensitive);
    field(gpio ? "GPIO Port" : "UserPanel Module", hwModuleNumber(code));
    field(gpio ? "GPIO Circuit" : "UserPanel Button", hwPortNumber(code));
  }

 private:
  const FindQuery &m_query;
  const PanelModel &m_panel;
  const DesignControl *m_control;
  std::vector<FindHit> &m_hits;
};

}  // namespace

FindQuery::FindQuery(const QString &text) : m_text(text.trimmed()) {
  if (m_text.isEmpty()) return;
  m_startsWithDigit = isAsciiDigit(m_text.front());
  m_endsWithDigit = isAsciiDigit(m_text.back());
}

qsizetype FindQuery::nextMatch(QStringView value, qsizetype from) const {
  if (m_text.isEmpty()) return -1;
  for (qsizetype at = value.indexOf(m_text, from, Qt::CaseInsensitive); at >= 0;
       at = value.indexOf(m_text, at + 1, Qt::CaseInsensitive)) {
    const qsizetype end = at + m_text.size();
    if (m_startsWithDigit && at > 0 && isAsciiDigit(value[at - 1])) continue;
    if (m_endsWithDigit && end < value.size() && isAsciiDigit(value[end])) continue;
    return at;
  }
  return -1;
}

QString FindQuery::replaced(QStringView value, const QString &replacement) const {
  QString out;
  qsizetype done = 0;
  for (qsizetype at = nextMatch(value, 0); at >= 0; at = nextMatch(value, done)) {
    out += value.mid(done, at - done);
    out += replacement;
    done = at + m_text.size();
  }
  out += value.mid(done);
  return out;
}

QStringList FindQuery::matchingLines(QStringView text) const {
  QStringList lines;
  if (!matches(text)) return lines;
  for (QStringView line : text.split(u'\n'))
    if (matches(line)) lines << line.trimmed().toString();
  return lines;
}

void searchPanel(const PanelModel &panel, const FindQuery &query, std::vector<FindHit> &hits) {
  if (query.isEmpty()) return;
  ControlMatcher own(query, panel, nullptr, hits);
  own.field("Caption", panel.caption);
  own.field("OnLoad", panel.panelRecord.onLoad);
  for (const auto &record : panel.panelRecord.records) {
    const DesignControl *control = record ? record->control : nullptr;
    if (!control) continue;
    ControlMatcher m(query, panel, control, hits);
    m.field("Name", control->tag);
    if (const auto *kept = controlCast<DesignKept>(control)) {
      m.keptText(kept->source);
      continue;
    }
    m.field("Caption", captionOf(*control));
    if (const auto *browser = controlCast<DesignWebBrowser>(control))
      m.field("URL", browser->locationURL);
    m.field("OnClick", record->click);
    m.field("OnMouseDown", record->mouseDown);
    m.field("OnMouseUp", record->mouseUp);
    m.field("MapRouter", record->mapRouter);
    m.field("MapSource", record->mapSource);
    m.field("MapDestination", record->mapDestination);
    m.mappingCode(record->hwMapAoipSysName);
    m.field("HWMapHostIP", record->hwMapHostIP);
    if (isMeter(*control)) {
      m.field("Router Number", QString::number(record->meterRouterNumber));
      m.field("IO Number", QString::number(record->meterIONumber));
    }
  }
}

QStringList panelFilesOf(const QString &folder) {
  if (folder.isEmpty()) return {};
  const QDir dir(folder);
  QStringList files;
  for (const QString &name :
       dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name | QDir::IgnoreCase))
    if (!isHardwareMapFileName(name)) files << dir.filePath(name);
  return files;
}

void searchPanelFiles(const QStringList &paths, const FindQuery &query, const HardwareMap &map,
                      std::vector<FindHit> &hits) {
  if (query.isEmpty() || paths.isEmpty()) return;
  // Files are independent: every core reads some, each into a panel of its
  // own, and the hits are put together in the order of the paths. The
  // reader keeps no shared state beyond per-thread caches; the map is only
  // read.
  std::vector<std::vector<FindHit>> perFile(static_cast<size_t>(paths.size()));
  forEachOnAllCores(paths.size(), [&](qsizetype i) {
    PanelModel panel;
    QString why;
    if (readClosedPanelFile(paths[i], panel, map, &why)) {
      searchPanel(panel, query, perFile[static_cast<size_t>(i)]);
      return;
    }
    // Said, not skipped: the user would otherwise take it for a file
    // without the text.
    FindHit hit;
    hit.panelName = panelNameFromPath(paths[i]);
    hit.panelPath = paths[i];
    hit.kind = QStringLiteral("File");
    hit.field = QStringLiteral("Not searched");
    hit.value = QStringLiteral("The file cannot be read: ") + why;
    perFile[static_cast<size_t>(i)].push_back(std::move(hit));
  });
  for (auto &fileHits : perFile)
    for (FindHit &hit : fileHits) hits.push_back(std::move(hit));
}
