// Pictures and colours of buttons and of the canvas, and flashing controls.
#include <QImageReader>
#include <optional>

#include "model/colors.h"
#include "model/settings.h"
#include "model/textfile.h"
#include "model/uiservice.h"
#include "surface/buttongraphics.h"
#include "surface/frmpanel.h"

namespace {
// A picture reference resolved to the file to show.
struct Picture {
  QString path;         // empty: no picture
  bool failed = false;  // the file exists but is not an image we can read
};

Picture loadPicture(const QString &path) {
  if (path.trimmed().isEmpty() || !FileExists(path)) return {};
  if (!QImageReader(path).canRead()) return {QString(), true};
  return {path};
}
}  // namespace

QString frmPanel::FindPicturePath(const QString &reference) const {
  if (reference.size() <= 2) return QString();
  // Network, drive and (here) rooted paths stand for themselves.
  if (reference.startsWith(QLatin1String("\\\\")) || reference.at(1) == u':' ||
      reference.startsWith(u'/'))
    return reference;
  for (const QString &folder :
       {m_model.strDefaultPictureLoc, Settings().strDefaultGraphicsFolder}) {
    if (folder.isEmpty()) continue;
    const QString path = JoinPath(folder, reference);
    if (FileExists(path)) return path;
  }
  return QString();
}

QString frmPanel::SelectGraphicFile() {
  Ui::FileDialog dialog;
  dialog.title = QStringLiteral("Open");
  dialog.filter = QStringLiteral("*.*");
  dialog.mustExist = true;
  return m_ui.openFile(dialog).value_or(QString());
}

// The file of a stored picture: looked up by its name first, then at the
// full path it was chosen from.
std::pair<QString, bool> frmPanel::ResolvePicture(const QString &fileName,
                                                  const QString &origPath) const {
  if (fileName.isEmpty()) return {};
  const QString key = fileName + u'\n' + origPath;
  if (m_batchDepth > 0)
    if (auto it = m_pictures.constFind(key); it != m_pictures.cend()) return *it;
  QString path = FindPicturePath(fileName);
  if (path.isEmpty()) path = origPath;
  const Picture picture = loadPicture(path);
  const std::pair<QString, bool> found{picture.path, picture.failed};
  if (m_batchDepth > 0) m_pictures.insert(key, found);
  return found;
}

namespace {
Picture resolvePicture(const frmPanel &panel, const QString &fileName, const QString &origPath) {
  const auto [path, failed] = panel.ResolvePicture(fileName, origPath);
  return {path, failed};
}
}  // namespace

bool IsOnState(const QString &state) { return state.toLower() == QLatin1String("on"); }

void ApplyButtonGraphics(const frmPanel &panel, DesignButton &button,
                         const clsControlDetails &record, bool on) {
  const Picture normal =
      on ? resolvePicture(panel, record.PictureUpOn, record.strPictureUpOnOrigPath)
         : resolvePicture(panel, record.PictureUpOff, record.strPictureUpOffOrigPath);
  if (normal.failed) return;
  button.Picture = normal.path;

  const Picture pressed =
      on ? resolvePicture(panel, record.PictureDownOn, record.strPictureDownOnOrigPath)
         : resolvePicture(panel, record.PictureDownOff, record.strPictureDownOffOrigPath);
  if (pressed.failed) return;
  button.DownPicture = pressed.path;

  button.BackColor = GetColorValue(on ? record.BackColorOn : record.BackColorOff);
}

void frmPanel::SetControlGraphics(clsControlDetails &record) {
  auto *button = As<DesignButton>(record.cntrlObject);
  if (!button) return;
  Batch batch(*this);
  batch.add(Properties);
  ApplyButtonGraphics(*this, *button, record, IsOnState(record.State));
}

void frmPanel::SetPanelGraphics() {
  const clsPanelDetails &details = m_model.PanelDetails;
  const Picture picture = resolvePicture(*this, details.strPicture, details.strPictureOrigPath);
  if (picture.failed) return;
  Batch batch(*this);
  m_model.pictMain.Picture = picture.path;
  batch.add(Properties);
}

void frmPanel::timFlashTick() {
  m_flashPhase = !m_flashPhase;
  // Only the views change: a flashing control keeps its colours in the model.
  for (const auto &record : m_model.PanelDetails.CollControls)
    if (record->Flash && record->cntrlObject) {
      notify(Properties);
      return;
    }
}

std::optional<qint32> frmPanel::FlashColor(const clsControlDetails &record) const {
  if (!record.Flash) return std::nullopt;
  return GetColorValue(m_flashPhase ? record.BackColorOn : record.BackColorOff);
}
