#include "app/panelcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/panelsearch.h"
#include "app/parallel.h"
#include "grid/mappingbuild.h"
#include "hwmap/hardwaremap.h"
#include "hwmap/mappingcode.h"
#include "model/panelmodel.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/xmlreader.h"
#include "panelfile/localstore.h"

namespace {

using Severity = CheckFinding::Severity;

bool contains(const DesignControl &outer, const DesignControl &inner) {
  return inner.left >= outer.left && inner.top >= outer.top &&
         inner.left + inner.width <= outer.left + outer.width &&
         inner.top + inner.height <= outer.top + outer.height;
}

// Whether a stored picture names a file, found as the panel window finds it:
// a rooted path as it stands, a name in the panel's picture folder or the
// graphics folder, else the full path it was chosen from. Panels name the
// same few pictures many times, so each answer is kept.
class PictureFinder {
 public:
  explicit PictureFinder(const PanelModel &panel) : m_folder(panel.defaultPictureFolder) {}
  bool exists(const QString &name, const QString &origPath) {
    const QString key = name + u'\n' + origPath;
    if (auto it = m_known.constFind(key); it != m_known.cend()) return *it;
    const bool found = lookUp(name) || (!origPath.isEmpty() && fileExists(origPath));
    m_known.insert(key, found);
    return found;
  }

 private:
  bool lookUp(const QString &name) const {
    if (name.size() <= 2) return false;
    if (name.startsWith(QLatin1String("\\\\")) || name.at(1) == u':' || name.startsWith(u'/'))
      return fileExists(name);
    for (const QString &folder : {m_folder, programSettings().defaultGraphicsFolder})
      if (!folder.isEmpty() && fileExists(joinPath(folder, name))) return true;
    return false;
  }
  QString m_folder;
  QHash<QString, bool> m_known;
};

bool validMappingCode(const QString &code, const QString &type) {
  static const QRegularExpression gpio(QStringLiteral("^port\\d+_circuit\\d+$"),
                                       QRegularExpression::CaseInsensitiveOption);
  const QString trimmed = code.trimmed();
  if (isGpioMapType(type)) return gpio.match(trimmed).hasMatch();
  return !hwModuleNumber(trimmed).isEmpty() && !hwPortNumber(trimmed).isEmpty();
}

}  // namespace

QString severityText(CheckFinding::Severity severity) {
  return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

PanelCheck::PanelCheck(const HardwareMap *map, const QString &mapFile)
    : m_map(map), m_mapFile(mapFile) {}

PanelCheck::PanelSummary PanelCheck::summarise(const PanelModel &panel, const QString &file) {
  PanelSummary out;
  out.file = file;
  out.panelName = panel.canvas.tag;
  auto find = [&](const QString &control, Severity severity, const char *code,
                  const QString &message) {
    out.findings.push_back({file, control, severity, QLatin1String(code), message});
  };

  PictureFinder pictures(panel);
  const PanelRecord &details = panel.panelRecord;
  if (!details.picture.isEmpty() && !pictures.exists(details.picture, details.pictureSourcePath))
    find(QString(), Severity::Error, "missing-picture",
         QStringLiteral("The panel picture %1 does not exist.").arg(panel.panelRecord.picture));

  QHash<QString, QString> firstOfName;
  for (const auto &record : panel.panelRecord.records) {
    const DesignControl *control = record ? record->control : nullptr;
    if (!control) continue;
    const QString name = control->tag;
    const QString lower = name.toLower();
    out.controlNames.insert(lower);
    if (const auto first = firstOfName.constFind(lower); first != firstOfName.constEnd())
      find(name, Severity::Error, "duplicate-name",
           QStringLiteral("Another control is also named %1.").arg(*first));
    else
      firstOfName.insert(lower, name);

    const qint32 width = panel.width, height = panel.height;  // as stored in the file
    if (width > 0 && height > 0 &&
        (control->left < 0 || control->top < 0 || control->left + control->width > width ||
         control->top + control->height > height))
      find(name, Severity::Warning, "outside-panel",
           QStringLiteral("The control lies partly or wholly outside the panel (%1 x %2 twips).")
               .arg(width)
               .arg(height));

    const std::pair<const QString &, const QString &> statePictures[] = {
        {record->pictureUpOff, record->pictureUpOffSourcePath},
        {record->pictureUpOn, record->pictureUpOnSourcePath},
        {record->pictureDownOff, record->pictureDownOffSourcePath},
        {record->pictureDownOn, record->pictureDownOnSourcePath},
        {record->flashPicture, record->flashPictureSourcePath}};
    for (const auto &[picture, origPath] : statePictures)
      if (!picture.isEmpty() && !pictures.exists(picture, origPath))
        find(name, Severity::Error, "missing-picture",
             QStringLiteral("The picture %1 does not exist.").arg(picture));

    // A kept control's binding is of a kind this version does not know.
    const QString &code = record->hwMapAoipSysName;
    if (!code.trimmed().isEmpty() && control->kind() != ControlKind::Kept) {
      if (!validMappingCode(code, record->hwMapType))
        find(name, Severity::Error, "bad-mapping-code",
             QStringLiteral("The mapping code %1 is not a valid %2 code.")
                 .arg(code.trimmed(), isGpioMapType(record->hwMapType)
                                          ? QStringLiteral("GPIO (Port…_Circuit…)")
                                          : QStringLiteral("hardware")));
      const QString key = code.trimmed().toLower() + u'|' + record->hwMapHostIP.trimmed() + u'|' +
                          record->hwMapHostPort.trimmed();
      out.bindings.push_back({key, name,
                              QStringLiteral("%1 at %2:%3")
                                  .arg(code.trimmed(), record->hwMapHostIP.trimmed(),
                                       record->hwMapHostPort.trimmed())});
    }

    if (control->kind() == ControlKind::Button && record->click.trimmed().isEmpty() &&
        record->mouseDown.trimmed().isEmpty() && record->mouseUp.trimmed().isEmpty() &&
        record->mapRouter.trimmed().isEmpty() && code.trimmed().isEmpty())
      find(name, Severity::Warning, "no-action",
           QStringLiteral("The button has no command, no router map and no mapping."));
  }

  // Covered: wholly inside a control drawn later (above it).
  const std::vector<DesignControl *> &z = panel.zOrder();
  for (size_t i = 0; i < z.size(); ++i)
    for (size_t j = i + 1; j < z.size(); ++j)
      if (contains(*z[j], *z[i])) {
        find(z[i]->tag, Severity::Warning, "covered",
             QStringLiteral("The control is wholly covered by %1.").arg(z[j]->tag));
        break;
      }
  return out;
}

void PanelCheck::add(PanelSummary &&summary) {
  for (CheckFinding &f : summary.findings) m_findings.push_back(std::move(f));
  for (const Binding &b : summary.bindings) {
    const QString where = summary.panelName + u'.' + b.control;
    if (const auto first = m_firstBinding.constFind(b.key); first != m_firstBinding.constEnd())
      m_findings.push_back({summary.file, b.control, Severity::Warning,
                            QStringLiteral("mapping-conflict"),
                            QStringLiteral("%1 is also bound to %2.").arg(*first, b.describe)});
    else
      m_firstBinding.insert(b.key, where);
  }
  m_controlsOfPanel[summary.panelName.toLower()].unite(summary.controlNames);
}

void PanelCheck::addPanel(const PanelModel &panel, const QString &file) {
  add(summarise(panel, file));
}

void PanelCheck::addUnreadable(const QString &file, const QString &where) {
  m_findings.push_back({file, QString(), Severity::Error, QStringLiteral("unreadable"),
                        QStringLiteral("The file cannot be read: %1").arg(where)});
}

std::vector<CheckFinding> PanelCheck::finish() {
  if (m_map) {
    for (const HardwareMap::Entry &entry : m_map->entries()) {
      const QString internal = entry.internalName.trimmed();
      const QString lower = internal.toLower();
      // The longest checked panel name that, with ".", starts the entry.
      QString panel;
      for (qsizetype dot = lower.lastIndexOf(u'.'); dot > 0 && panel.isEmpty();
           dot = lower.lastIndexOf(u'.', dot - 1))
        if (m_controlsOfPanel.contains(lower.left(dot))) panel = lower.left(dot);
      QString message;
      if (panel.isEmpty())
        message = QStringLiteral("The map entry %1 belongs to no panel.").arg(internal);
      else if (!m_controlsOfPanel[panel].contains(lower.mid(panel.size() + 1)))
        message = QStringLiteral("The map entry %1 names no control of its panel.").arg(internal);
      if (!message.isEmpty())
        m_findings.push_back(
            {m_mapFile, internal, Severity::Warning, QStringLiteral("orphan-map-entry"), message});
    }
  }
  return std::move(m_findings);
}

ReadPanelFiles readPanelFilesToCheck(const QStringList &paths, const HardwareMap &map,
                                     std::atomic<int> *done, const std::atomic<bool> *cancelled) {
  ReadPanelFiles out{paths, std::vector<PanelCheck::PanelSummary>(size_t(paths.size())),
                     std::vector<QString>(size_t(paths.size()))};
  forEachOnAllCores(paths.size(), [&](qsizetype i) {
    if (cancelled && *cancelled) return;
    PanelModel panel;
    QString why;
    if (!readClosedPanelFile(paths[i], panel, map, &why))
      out.unreadable[size_t(i)] = why;
    else
      out.summaries[size_t(i)] = PanelCheck::summarise(panel, paths[i]);
    if (done) ++*done;
  });
  return out;
}

std::vector<CheckFinding> checkSummaries(std::vector<PanelCheck::PanelSummary> &&open,
                                         ReadPanelFiles &&files, const HardwareMap *map,
                                         const QString &mapFile) {
  PanelCheck check(map, mapFile);
  for (PanelCheck::PanelSummary &panel : open) check.add(std::move(panel));
  for (size_t i = 0; i < files.summaries.size(); ++i) {
    if (!files.unreadable[i].isEmpty())
      check.addUnreadable(files.paths[qsizetype(i)], files.unreadable[i]);
    else
      check.add(std::move(files.summaries[i]));
  }
  return check.finish();
}

std::vector<CheckFinding> checkPanelFiles(const QStringList &paths, const QString &mapFile) {
  QString mapUnreadable;
  const HardwareMap map =
      mapFile.isEmpty() ? HardwareMap() : HardwareMap::fromFile(mapFile, &mapUnreadable);
  ReadPanelFiles files = readPanelFilesToCheck(paths, map);
  if (!mapUnreadable.isEmpty()) {
    files.paths << mapFile;
    files.summaries.emplace_back();
    files.unreadable.push_back(QStringLiteral("it ") + mapUnreadable + u'.');
  }
  return checkSummaries({}, std::move(files), mapFile.isEmpty() ? nullptr : &map, mapFile);
}

QStringList panelFilesOfPath(const QString &path, QString *mapFile) {
  const QFileInfo info(path);
  if (!info.isDir()) return {path};
  // The map a designer working in the folder uses, by its exact name: a
  // copy beside it ("HardwareMap - copy.xml") is neither the map nor a panel.
  const QString map = QDir(path).filePath(QStringLiteral("HardwareMap.xml"));
  if (mapFile && mapFile->isEmpty() && QFileInfo(map).isFile()) *mapFile = map;
  return panelFilesOf(path);
}
