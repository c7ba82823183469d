// Placing new controls: drops from the palette and the Insert menu.
#include "model/colors.h"
#include "model/numbers.h"
#include "surface/paneleditor.h"

namespace {
constexpr qint32 kDroppedMeterFaderWidth = 1350;
constexpr qint32 kDroppedMeterFaderHeight = 4920;
constexpr qint32 kDroppedClockSide = 1630;
constexpr qint32 kMeterSilence = -600;
const QString kBlankPage = QStringLiteral("about:blank");

std::unique_ptr<ControlRecord> newRecord(bool enabled) {
  auto record = std::make_unique<ControlRecord>();
  record->enabled = enabled;
  record->flash = false;
  return record;
}

std::unique_ptr<ControlRecord> buttonRecord(const DesignButton &button) {
  auto record = newRecord(true);
  record->backColorOff = colorValueToText(button.backColor);
  record->backColorOn = QStringLiteral("Yellow");
  record->foreColor = QStringLiteral("Black");
  record->state = QStringLiteral("Off");
  return record;
}

std::unique_ptr<ControlRecord> labelRecord(const DesignLabel &label) {
  auto record = newRecord(true);
  record->backColorOff = colorValueToText(label.backColor);
  record->backColorOn = record->backColorOff;
  record->foreColor = QStringLiteral("Black");
  record->state = QStringLiteral("On");
  return record;
}
}  // namespace

ControlRecord &PanelEditor::appendRecord(DesignControl *control,
                                         std::unique_ptr<ControlRecord> record) {
  record->control = control;
  record->frameIndex = m_model.newFrameIndex();
  m_model.panelRecord.records.push_back(std::move(record));
  return *m_model.panelRecord.records.back();
}

void PanelEditor::dropFromPalette(const QString &sourceName, double x, double y, qint32 dragOffsetX,
                                  qint32 dragOffsetY, bool targetIsCanvas) {
  if (!targetIsCanvas) return;
  EditStep step(*this, QStringLiteral("Add"), StepName::WithControls);
  Batch batch(*this);

  // A new control: cloned from its template, placed at the drop point less
  // the grab offset and snapped to the grid, then shown and focused.
  auto place = [&](ControlKind kind) {
    DesignControl *control = m_model.loadControl(kind);
    control->left = snapToGrid(roundHalfEven(x - dragOffsetX), m_gridSize);
    control->top = snapToGrid(roundHalfEven(y - dragOffsetY), m_gridSize);
    batch.add(Structure | Geometry);
    return control;
  };
  auto showAndName = [&](DesignControl *control) {
    control->visible = true;
    setFocus(control);
    control->tag = m_model.unusedName(int(control->kind()));
  };

  if (sourceName == QLatin1String("MasterButton")) {
    auto *button = static_cast<DesignButton *>(place(ControlKind::Button));
    showAndName(button);
    button->caption = button->tag;
    m_model.bringToFront(button);
    appendRecord(button, buttonRecord(*button));
    controlGotFocus(button);
  } else if (sourceName == QLatin1String("MasterLabel")) {
    auto *label = static_cast<DesignLabel *>(place(ControlKind::Label));
    showAndName(label);
    label->text = label->tag;
    m_model.bringToFront(label);
    appendRecord(label, labelRecord(*label));
    controlGotFocus(label);
  } else if (sourceName == QLatin1String("pictWebBrowser")) {
    auto *browser = static_cast<DesignWebBrowser *>(place(ControlKind::WebBrowser));
    showAndName(browser);
    browser->locationURL = kBlankPage;
    m_model.sendToBack(browser);
    appendRecord(browser, newRecord(true));
  } else if (sourceName == QLatin1String("MasterLarkLED")) {
    auto *meter = static_cast<DesignMeter *>(place(ControlKind::Meter));
    showAndName(meter);
    meter->setLevel(kMeterSilence, kMeterSilence);
    appendRecord(meter, newRecord(true));
    controlGotFocus(meter);
  } else if (sourceName == QLatin1String("MasterMeterFader") ||
             sourceName == QLatin1String("MasterMeterFaderDragger")) {
    DesignControl *fader = place(ControlKind::MeterFader);
    fader->width = kDroppedMeterFaderWidth;
    fader->height = kDroppedMeterFaderHeight;
    showAndName(fader);
    appendRecord(fader, newRecord(true)).meterStyle = 1;  // gradient
  } else if (sourceName == QLatin1String("MasterLKClock")) {
    DesignControl *clock = place(ControlKind::Clock);
    clock->width = kDroppedClockSide;
    clock->height = kDroppedClockSide;
    showAndName(clock);
    m_model.bringToFront(clock);
    appendRecord(clock, std::make_unique<ControlRecord>());
  }
  // Any other item (the codec control among them) creates nothing, and an
  // action that changes nothing is no step and leaves the panel unchanged.
}

DesignControl *PanelEditor::insertControl(ControlKind kind) {
  // Kept controls come only from files and the clipboard.
  if (kind == ControlKind::MeterFader || kind == ControlKind::Kept) return nullptr;
  EditStep step(*this, QStringLiteral("Add"), StepName::WithControls);
  Batch batch(*this);
  DesignControl *control = m_model.loadControl(kind);
  control->left = 0;
  control->top = 0;
  control->visible = true;
  setFocus(control);
  control->tag = m_model.unusedName(int(kind));
  if (auto *button = controlCast<DesignButton>(control)) {
    button->caption = button->tag;
    appendRecord(button, buttonRecord(*button));
  } else if (auto *label = controlCast<DesignLabel>(control)) {
    label->text = label->tag;
    appendRecord(label, labelRecord(*label));
  } else {
    appendRecord(control, std::make_unique<ControlRecord>());
  }
  batch.add(Structure | Geometry);
  return control;
}
