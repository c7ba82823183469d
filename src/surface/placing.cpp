// Placing new controls: drops from the palette and the Insert menu.
#include "model/colors.h"
#include "model/numbers.h"
#include "surface/frmpanel.h"

namespace {
constexpr qint32 kDroppedMeterFaderWidth = 1350;
constexpr qint32 kDroppedMeterFaderHeight = 4920;
constexpr qint32 kDroppedClockSide = 1630;
constexpr qint32 kMeterSilence = -600;
const QString kBlankPage = QStringLiteral("about:blank");

std::unique_ptr<clsControlDetails> newRecord(bool enabled) {
  auto record = std::make_unique<clsControlDetails>();
  record->Enabled = enabled;
  record->Flash = false;
  return record;
}

std::unique_ptr<clsControlDetails> buttonRecord(const DesignButton &button) {
  auto record = newRecord(true);
  record->BackColorOff = ColorValueToText(button.BackColor);
  record->BackColorOn = QStringLiteral("Yellow");
  record->ForeColor = QStringLiteral("Black");
  record->State = QStringLiteral("Off");
  return record;
}

std::unique_ptr<clsControlDetails> labelRecord(const DesignLabel &label) {
  auto record = newRecord(true);
  record->BackColorOff = ColorValueToText(label.BackColor);
  record->BackColorOn = record->BackColorOff;
  record->ForeColor = QStringLiteral("Black");
  record->State = QStringLiteral("On");
  return record;
}
}  // namespace

clsControlDetails &frmPanel::appendRecord(DesignControl *control,
                                          std::unique_ptr<clsControlDetails> record) {
  record->cntrlObject = control;
  record->lngPictResizeIndex = m_model.GetNewPictResize();
  m_model.PanelDetails.CollControls.push_back(std::move(record));
  return *m_model.PanelDetails.CollControls.back();
}

void frmPanel::DropFromPalette(const QString &sourceName, double x, double y, qint32 dragOffsetX,
                               qint32 dragOffsetY, bool targetIsCanvas) {
  if (!targetIsCanvas) return;
  EditStep step(*this, QStringLiteral("Add"), StepName::WithControls);
  Batch batch(*this);

  // A new control: cloned from its template, placed at the drop point less
  // the grab offset and snapped to the grid, then shown and focused.
  auto place = [&](ControlKind kind) {
    DesignControl *control = m_model.LoadControl(kind);
    control->Left = SnapToGrid(RoundHalfEven(x - dragOffsetX), lngGridSize);
    control->Top = SnapToGrid(RoundHalfEven(y - dragOffsetY), lngGridSize);
    batch.add(Structure | Geometry);
    return control;
  };
  auto showAndName = [&](DesignControl *control) {
    control->Visible = true;
    setFocus(control);
    control->Tag = m_model.GetNewName(int(control->kind()));
  };

  if (sourceName == QLatin1String("MasterButton")) {
    auto *button = static_cast<DesignButton *>(place(ControlKind::Button));
    showAndName(button);
    button->Caption = button->Tag;
    m_model.BringToFront(button);
    appendRecord(button, buttonRecord(*button));
    ControlGotFocus(button);
  } else if (sourceName == QLatin1String("MasterLabel")) {
    auto *label = static_cast<DesignLabel *>(place(ControlKind::Label));
    showAndName(label);
    label->Text = label->Tag;
    m_model.BringToFront(label);
    appendRecord(label, labelRecord(*label));
    ControlGotFocus(label);
  } else if (sourceName == QLatin1String("pictWebBrowser")) {
    auto *browser = static_cast<DesignWebBrowser *>(place(ControlKind::WebBrowser));
    showAndName(browser);
    browser->LocationURL = kBlankPage;
    m_model.SendToBack(browser);
    appendRecord(browser, newRecord(true));
  } else if (sourceName == QLatin1String("MasterLarkLED")) {
    auto *meter = static_cast<DesignMeter *>(place(ControlKind::Meter));
    showAndName(meter);
    meter->SetLevel(kMeterSilence, kMeterSilence);
    appendRecord(meter, newRecord(true));
    ControlGotFocus(meter);
  } else if (sourceName == QLatin1String("MasterMeterFader") ||
             sourceName == QLatin1String("MasterMeterFaderDragger")) {
    DesignControl *fader = place(ControlKind::MeterFader);
    fader->Width = kDroppedMeterFaderWidth;
    fader->Height = kDroppedMeterFaderHeight;
    showAndName(fader);
    appendRecord(fader, newRecord(true)).MeterStyle = 1;  // gradient
  } else if (sourceName == QLatin1String("MasterLKClock")) {
    DesignControl *clock = place(ControlKind::Clock);
    clock->Width = kDroppedClockSide;
    clock->Height = kDroppedClockSide;
    showAndName(clock);
    m_model.BringToFront(clock);
    appendRecord(clock, std::make_unique<clsControlDetails>());
  }
  // Any other item (the codec control among them) creates nothing, and an
  // action that changes nothing is no step and leaves the panel unchanged.
}

DesignControl *frmPanel::InsertControl(ControlKind kind) {
  // Kept controls come only from files and the clipboard.
  if (kind == ControlKind::MeterFader || kind == ControlKind::Kept) return nullptr;
  EditStep step(*this, QStringLiteral("Add"), StepName::WithControls);
  Batch batch(*this);
  DesignControl *control = m_model.LoadControl(kind);
  control->Left = 0;
  control->Top = 0;
  control->Visible = true;
  setFocus(control);
  control->Tag = m_model.GetNewName(int(kind));
  if (auto *button = As<DesignButton>(control)) {
    button->Caption = button->Tag;
    appendRecord(button, buttonRecord(*button));
  } else if (auto *label = As<DesignLabel>(control)) {
    label->Text = label->Tag;
    appendRecord(label, labelRecord(*label));
  } else {
    appendRecord(control, std::make_unique<clsControlDetails>());
  }
  batch.add(Structure | Geometry);
  return control;
}
