#include "surface/previewsession.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "model/colors.h"
#include "surface/buttongraphics.h"
#include "surface/paneleditor.h"

namespace {
// A programme-like test signal in tenths of dB: two slow waves per channel,
// mostly in the normal zone, now and then into the warning and over zones.
// Each meter has its own seed, so meters side by side do not move in step.
qint32 testSignal(double seconds, int seed, int channel) {
  constexpr double twoPi = 2 * std::numbers::pi;
  const double db = -20.0 + 11.0 * std::sin(twoPi * 0.31 * seconds + seed) +
                    6.0 * std::sin(twoPi * 1.7 * seconds + 2.3 * seed + 1.1 * channel);
  return static_cast<qint32>(std::lround(db * 10));
}

bool isMeter(const DesignControl &control) {
  return control.kind() == ControlKind::Meter || control.kind() == ControlKind::MeterFader;
}
}  // namespace

QString PreviewCommand::text() const {
  QString line = command;
  line.replace(QLatin1String("\r\n"), QStringLiteral(" \u21b5 "));
  line.replace(u'\n', QStringLiteral(" \u21b5 "));
  line.replace(u'\r', QStringLiteral(" \u21b5 "));
  return control + u' ' + event + QLatin1String(": ") + line;
}

PreviewSession::PreviewSession(PanelEditor &panel, QObject *parent)
    : QObject(parent), m_panel(panel) {
  connect(&m_panel, &PanelEditor::changed, this, [this](int flags) {
    m_toggledLooks.clear();
    if (flags & PanelEditor::Structure) forgetRemovedControls();
  });
  meterTimer.setInterval(kMeterInterval);
  connect(&meterTimer, &QTimer::timeout, this, &PreviewSession::meterTick);
  meterTimer.start();
}

PreviewSession::~PreviewSession() = default;

const ControlRecord *PreviewSession::enabledButtonRecord(const DesignControl *control) const {
  if (!control || control->kind() != ControlKind::Button) return nullptr;
  const ControlRecord *record = m_panel.model().findRecord(control);
  return record && record->enabled ? record : nullptr;
}

void PreviewSession::mouseDown(const DesignControl *control) {
  const ControlRecord *record = enabledButtonRecord(control);
  if (!record) return;
  m_pressed = control;
  logCommand(*record, QStringLiteral("MouseDown"), record->mouseDown);
  emit changed();
}

void PreviewSession::mouseUp(bool overPressedControl) {
  const DesignControl *control = std::exchange(m_pressed, nullptr);
  if (!control) return;
  if (const ControlRecord *record = enabledButtonRecord(control)) {
    logCommand(*record, QStringLiteral("MouseUp"), record->mouseUp);
    if (overPressedControl) {
      logCommand(*record, QStringLiteral("Click"), record->click);
      m_on[control] = !isOn(control);
      m_toggledLooks.erase(control);
    }
  }
  emit changed();
}

bool PreviewSession::isOn(const DesignControl *control) const {
  if (const auto it = m_on.find(control); it != m_on.end()) return it->second;
  const ControlRecord *record = m_panel.model().findRecord(control);
  return record && isOnState(record->state);
}

void PreviewSession::logCommand(const ControlRecord &record, const QString &event,
                                const QString &command) {
  if (command.isEmpty() || !record.control) return;
  m_log.push_back({record.control->tag, event, command});
  if (m_log.size() > kLogLimit) m_log.pop_front();
  emit commandLogged(m_log.back());
}

void PreviewSession::clearLog() {
  m_log.clear();
  emit logCleared();
}

void PreviewSession::meterTick() {
  ++m_meterTicks;
  const double seconds = m_meterTicks * (kMeterInterval / 1000.0);
  std::unordered_map<const DesignControl *, MeterState> meters;
  for (const ControlKind kind : {ControlKind::Meter, ControlKind::MeterFader}) {
    for (const DesignControl *control : m_panel.model().Controls(kind)) {
      const auto it = m_meters.find(control);
      MeterState state =
          it != m_meters.end() ? it->second : MeterState(control->index() * 3 + int(kind));
      const MeterSettings &settings = kind == ControlKind::Meter
                                          ? static_cast<const DesignMeter *>(control)->meter
                                          : static_cast<const DesignMeterFader *>(control)->meter;
      for (int channel = 0; channel < 2; ++channel) {
        state.channels[channel].setDecayRate(settings.decayRate);
        state.channels[channel].update(testSignal(seconds, state.seed, channel),
                                       kMeterInterval / 1000.0);
      }
      meters.emplace(control, state);
    }
  }
  const bool any = !meters.empty();
  m_meters = std::move(meters);
  if (any) emit metersMoved();
}

qint32 PreviewSession::meterLevel(const DesignControl *meter, int channel) const {
  const auto it = m_meters.find(meter);
  if (it == m_meters.end() || channel < 0 || channel > 1) return kMeterSilence;
  return it->second.channels[channel].levelTenths();
}

void PreviewSession::forgetRemovedControls() {
  const PanelModel &model = m_panel.model();
  std::erase_if(m_on, [&model](const auto &entry) { return !model.contains(entry.first); });
  std::erase_if(m_meters, [&model](const auto &entry) { return !model.contains(entry.first); });
  if (m_pressed && !model.contains(m_pressed)) m_pressed = nullptr;
}

namespace {
// A button or label shows its background colour; other kinds have none to flash.
void setBackColor(DesignControl &control, qint32 color) {
  if (auto *button = controlCast<DesignButton>(&control)) button->backColor = color;
  if (auto *label = controlCast<DesignLabel>(&control)) label->backColor = color;
}

bool hasBackColor(const DesignControl &control) {
  return control.kind() == ControlKind::Button || control.kind() == ControlKind::Label;
}

// What a control shows in design: only flashing changes it.
std::unique_ptr<DesignControl> shownInDesign(const PanelEditor &panel, const DesignControl &control,
                                             const ControlRecord *record) {
  const std::optional<qint32> flash = record ? panel.flashColor(*record) : std::nullopt;
  if (!flash || !hasBackColor(control)) return nullptr;
  auto copy = control.clone();
  setBackColor(*copy, *flash);
  return copy;
}
}  // namespace

std::unique_ptr<DesignControl> PreviewSession::shown(const DesignControl &control,
                                                     const ControlRecord *record) const {
  if (isMeter(control)) {
    if (!m_meters.contains(&control)) return nullptr;
    auto copy = control.clone();
    const qint32 left = meterLevel(&control, 0), right = meterLevel(&control, 1);
    if (auto *meter = controlCast<DesignMeter>(copy.get())) meter->setLevel(left, right);
    if (auto *fader = controlCast<DesignMeterFader>(copy.get())) fader->setLevel(left, right);
    return copy;
  }
  if (!record || control.kind() != ControlKind::Button)
    return shownInDesign(m_panel, control, record);

  const auto toggled = m_on.find(&control);
  const bool stateChanged = toggled != m_on.end() && toggled->second != isOnState(record->state);
  const bool held = m_pressed == &control;
  if (!stateChanged && !held && record->enabled) return shownInDesign(m_panel, control, record);
  auto copy = control.clone();
  auto &button = static_cast<DesignButton &>(*copy);
  if (stateChanged) {
    // Resolving pictures reads files: keep the result until the panel changes.
    auto &look = m_toggledLooks[&control];
    if (!look) {
      look = std::make_unique<DesignButton>(static_cast<const DesignButton &>(control));
      applyButtonGraphics(m_panel, *look, *record, toggled->second);
    }
    button.picture = look->picture;
    button.downPicture = look->downPicture;
    button.backColor = look->backColor;
  }
  if (held && !button.downPicture.isEmpty()) button.picture = button.downPicture;
  if (const auto flash = m_panel.flashColor(*record)) button.backColor = *flash;
  if (!record->enabled) button.foreColor = kDisabledTextColor;
  return copy;
}

void PreviewSession::forEachShown(const PanelEditor &panel, const PreviewSession *preview,
                                  const ShownVisitor &visit) {
  const PanelModel &model = panel.model();
  std::unordered_map<const DesignControl *, const ControlRecord *> records;
  records.reserve(model.panelRecord.records.size());
  for (const auto &record : model.panelRecord.records)
    if (record->control) records.emplace(record->control, record.get());
  for (const DesignControl *control : model.zOrder()) {
    if (!control->visible) continue;
    const auto found = records.find(control);
    const ControlRecord *record = found != records.end() ? found->second : nullptr;
    const auto copy =
        preview ? preview->shown(*control, record) : shownInDesign(panel, *control, record);
    visit(copy ? *copy : *control, *control);
  }
}
