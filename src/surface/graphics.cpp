// Pictures and colours of buttons and of the canvas, and flashing controls.
#include <QFile>
#include <QImageReader>
#include <optional>

#include "model/colors.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "surface/buttongraphics.h"
#include "surface/paneleditor.h"

namespace {
// A picture reference resolved to the file to show.
struct Picture {
  QString path;         // empty: no picture
  bool failed = false;  // the file exists but is not an image we can read
};

Picture loadPicture(const QString &path) {
  if (path.trimmed().isEmpty() || !fileExists(path)) return {};
  // Only a regular file of a picture's size is ever read: a named pipe or a
  // device would never end.
  QFile device(path);
  if (!openRegularFile(device, kPictureFileLimit) || !QImageReader(&device).canRead())
    return {QString(), true};
  return {path};
}
}  // namespace

QString PanelEditor::findPicturePath(const QString &reference) const {
  if (reference.size() <= 2) return QString();
  // Network, drive and (here) rooted paths stand for themselves.
  if (reference.startsWith(QLatin1String("\\\\")) || reference.at(1) == u':' ||
      reference.startsWith(u'/'))
    return reference;
  for (const QString &folder :
       {m_model.defaultPictureFolder, programSettings().defaultGraphicsFolder}) {
    if (folder.isEmpty()) continue;
    const QString path = joinPath(folder, reference);
    if (fileExists(path)) return path;
  }
  return QString();
}

QString PanelEditor::selectGraphicFile() {
  Ui::FileDialog dialog;
  dialog.title = QStringLiteral("Open");
  dialog.filter = QStringLiteral("*.*");
  dialog.mustExist = true;
  return m_ui.openFile(dialog).value_or(QString());
}

// The file of a stored picture: looked up by its name first, then at the
// full path it was chosen from.
std::pair<QString, bool> PanelEditor::resolvePicture(const QString &fileName,
                                                     const QString &origPath) const {
  if (fileName.isEmpty()) return {};
  const QString key = fileName + u'\n' + origPath;
  if (m_batchDepth > 0)
    if (auto it = m_pictures.constFind(key); it != m_pictures.cend()) return *it;
  QString path = findPicturePath(fileName);
  if (path.isEmpty()) path = origPath;
  const Picture picture = loadPicture(path);
  const std::pair<QString, bool> found{picture.path, picture.failed};
  if (m_batchDepth > 0) m_pictures.insert(key, found);
  return found;
}

namespace {
Picture resolvedPicture(const PanelEditor &panel, const QString &fileName,
                        const QString &origPath) {
  const auto [path, failed] = panel.resolvePicture(fileName, origPath);
  return {path, failed};
}
}  // namespace

bool isOnState(const QString &state) { return state.toLower() == QLatin1String("on"); }

void applyButtonGraphics(const PanelEditor &panel, DesignButton &button,
                         const ControlRecord &record, bool on) {
  const Picture normal =
      on ? resolvedPicture(panel, record.pictureUpOn, record.pictureUpOnSourcePath)
         : resolvedPicture(panel, record.pictureUpOff, record.pictureUpOffSourcePath);
  if (normal.failed) return;
  button.picture = normal.path;

  const Picture pressed =
      on ? resolvedPicture(panel, record.pictureDownOn, record.pictureDownOnSourcePath)
         : resolvedPicture(panel, record.pictureDownOff, record.pictureDownOffSourcePath);
  if (pressed.failed) return;
  button.downPicture = pressed.path;

  button.backColor = colorValue(on ? record.backColorOn : record.backColorOff);
}

void PanelEditor::setControlGraphics(ControlRecord &record) {
  auto *button = controlCast<DesignButton>(record.control);
  if (!button) return;
  Batch batch(*this);
  batch.add(Properties);
  applyButtonGraphics(*this, *button, record, isOnState(record.state));
}

void PanelEditor::setPanelGraphics() {
  const PanelRecord &details = m_model.panelRecord;
  const Picture picture = resolvedPicture(*this, details.picture, details.pictureSourcePath);
  if (picture.failed) return;
  Batch batch(*this);
  m_model.canvas.picture = picture.path;
  batch.add(Properties);
}

void PanelEditor::flashTick() {
  m_flashPhase = !m_flashPhase;
  // Only the views change: a flashing control keeps its colours in the model.
  for (const auto &record : m_model.panelRecord.records)
    if (record->flash && record->control) {
      notify(Properties);
      return;
    }
}

std::optional<qint32> PanelEditor::flashColor(const ControlRecord &record) const {
  if (!record.flash) return std::nullopt;
  return colorValue(m_flashPhase ? record.backColorOn : record.backColorOff);
}
