#include "model/panelmodel.h"

#include <QFileInfo>
#include <algorithm>

namespace {
constexpr const char *kControlTip =
    "Drag a selected control to move it.\r\nDrag the edges of its frame to resize it.";
const QString kFrameTip =
    QStringLiteral("Click and Drag handles to resize.\r\nRight-Click and Drag handles to move.");

template <class T>
std::unique_ptr<DesignControl> makeTemplate(qint32 width, qint32 height) {
  auto c = std::make_unique<T>();
  c->width = width;
  c->height = height;
  return c;
}
}  // namespace

PanelModel::PanelModel() {
  auto button = makeTemplate<DesignButton>(1215, 495);
  button->toolTipText = QLatin1String(kControlTip);
  auto label = makeTemplate<DesignLabel>(1215, 255);
  label->toolTipText = QLatin1String(kControlTip);
  m_arrays[int(ControlKind::Button)][0] = std::move(button);
  m_arrays[int(ControlKind::Label)][0] = std::move(label);
  m_arrays[int(ControlKind::WebBrowser)][0] = makeTemplate<DesignWebBrowser>(855, 735);
  m_arrays[int(ControlKind::Meter)][0] = makeTemplate<DesignMeter>(400, 1500);
  m_arrays[int(ControlKind::MeterFader)][0] = makeTemplate<DesignMeterFader>(1335, 4935);
  m_arrays[int(ControlKind::Clock)][0] = makeTemplate<DesignClock>(1095, 1095);
  m_arrays[int(ControlKind::Kept)][0] = std::make_unique<DesignKept>();
  for (auto &array : m_arrays) array.begin()->second->m_owner = this;
}

DesignControl *PanelModel::templateControl(ControlKind kind) const {
  return m_arrays[int(kind)].at(0).get();
}

DesignControl *PanelModel::loadControl(ControlKind kind) {
  ControlArray &array = m_arrays[int(kind)];
  const int index = array.rbegin()->first + 1;
  auto control = array.at(0)->clone();
  control->m_owner = this;
  control->m_index = index;
  control->visible = false;
  DesignControl *raw = control.get();
  array.emplace(index, std::move(control));
  m_zOrder.push_back(raw);
  m_names.add(*raw);
  return raw;
}

void PanelModel::unloadControl(DesignControl *control) { takeControl(control); }

std::unique_ptr<DesignControl> PanelModel::takeControl(DesignControl *control, size_t *zPosition) {
  if (!control || control->index() == 0) return nullptr;
  ControlArray &array = m_arrays[int(control->kind())];
  auto it = array.find(control->index());
  if (it == array.end() || it->second.get() != control) return nullptr;
  const auto z = std::find(m_zOrder.begin(), m_zOrder.end(), control);
  if (zPosition) *zPosition = size_t(z - m_zOrder.begin());
  if (z != m_zOrder.end()) m_zOrder.erase(z);
  m_names.remove(*control);  // a control out of the panel names nothing in it
  std::unique_ptr<DesignControl> taken = std::move(it->second);
  array.erase(it);
  return taken;
}

DesignControl *PanelModel::putControl(std::unique_ptr<DesignControl> &&control, size_t zPosition) {
  if (!control || control->m_owner != this || control->index() == 0) return nullptr;
  ControlArray &array = m_arrays[int(control->kind())];
  if (array.count(control->index())) return nullptr;  // the index is taken
  DesignControl *raw = control.get();
  array.emplace(raw->index(), std::move(control));
  m_zOrder.insert(m_zOrder.begin() + std::ptrdiff_t(std::min(zPosition, m_zOrder.size())), raw);
  m_names.add(*raw);
  return raw;
}

std::vector<DesignControl *> PanelModel::Controls(ControlKind kind) const {
  std::vector<DesignControl *> out;
  for (const auto &[index, c] : m_arrays[int(kind)])
    if (index != 0) out.push_back(c.get());
  return out;
}

int PanelModel::controlCount() const { return static_cast<int>(m_zOrder.size()); }

bool PanelModel::contains(const DesignObject *object) const {
  if (object == &canvas) return true;
  return std::find(m_zOrder.begin(), m_zOrder.end(), object) != m_zOrder.end();
}

void PanelModel::bringToFront(DesignControl *control) {
  auto it = std::find(m_zOrder.begin(), m_zOrder.end(), control);
  if (it == m_zOrder.end()) return;
  std::rotate(it, it + 1, m_zOrder.end());
}

void PanelModel::sendToBack(DesignControl *control) {
  auto it = std::find(m_zOrder.begin(), m_zOrder.end(), control);
  if (it == m_zOrder.end()) return;
  std::rotate(m_zOrder.begin(), it, it + 1);
}

void PanelModel::setZOrder(std::vector<DesignControl *> order) {
  if (order.size() == m_zOrder.size()) m_zOrder = std::move(order);
}

int PanelModel::newFrameIndex() {
  const int index = m_frames.empty() ? 1 : std::max(1, m_frames.rbegin()->first + 1);
  ResizeFrame &f = m_frames[index];
  f.index = index;
  f.toolTipText = kFrameTip;
  f.visible = false;
  return index;
}

ResizeFrame *PanelModel::frame(int index) {
  auto it = m_frames.find(index);
  return it == m_frames.end() ? nullptr : &it->second;
}

void PanelModel::unloadFrame(int index) { m_frames.erase(index); }

void PanelModel::putFrame(const ResizeFrame &frame) {
  if (frame.index > 0) m_frames[frame.index] = frame;
}

QString PanelModel::unusedName(int kindCode) const {
  if (kindCode < 0 || kindCode >= kControlKindCount) return QString();
  return m_names.firstFreeName(kindCode, nameStem(static_cast<ControlKind>(kindCode)));
}

bool PanelModel::checkForDuplicateName(const QString &name,
                                       const DesignObject *sourceControl) const {
  return m_names.contains(name, sourceControl);
}

ControlRecord *PanelModel::findRecord(const DesignObject *control) const {
  if (!control) return nullptr;
  // A control has one record. It is looked for from both ends at once: the
  // record of a control just added (placed, read, pasted) is the last one.
  const auto &records = panelRecord.records;
  for (size_t front = 0, back = records.size(); front < back; ++front) {
    if (records[front]->control == control) return records[front].get();
    if (records[--back]->control == control) return records[back].get();
  }
  return nullptr;
}

void PanelModel::rememberMapEntries() {
  for (const auto &r : panelRecord.records)
    if (r && !r->hwMapInternalName().trimmed().isEmpty())
      m_mapEntries.insert(r->hwMapInternalName().trimmed().toLower());
}

void PanelModel::rememberFile(const QString &path, const FileStamp &stamp) {
  m_filePath = QFileInfo(path).absoluteFilePath();
  m_fileStamp = stamp;
}

std::optional<FileStamp> PanelModel::fileStamp(const QString &path) const {
  if (path.isEmpty() || m_filePath.isEmpty() || m_filePath != QFileInfo(path).absoluteFilePath())
    return std::nullopt;
  return m_fileStamp;
}

bool PanelModel::fileChangedOnDisk(const QString &path) const {
  const std::optional<FileStamp> stamp = fileStamp(path);
  return stamp && fileChangedSince(path, *stamp);
}
