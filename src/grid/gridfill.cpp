// Filling the grid with the values of the panel or of one control.

#include <utility>

#include "grid/gridsupport.h"
#include "grid/mappingbuild.h"
#include "grid/propertygrid.h"
#include "hwmap/mappingcode.h"
#include "model/colors.h"
#include "model/numbers.h"
#include "model/uiservice.h"
#include "surface/frmpanel.h"

namespace {

const char *headerName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Button:
      return "Button";
    case ControlKind::Label:
      return "Label";
    case ControlKind::WebBrowser:
      return "WebControl";
    case ControlKind::Meter:
      return "Meter";
    case ControlKind::MeterFader:
      return "MeterFader";
    case ControlKind::Clock:
      return "Clock";
  }
  return "";
}

// Clock colours are shown without leading zeros ("&HFF" for red).
QString clockColourText(qint32 value) {
  return QStringLiteral("&H") + QString::number(static_cast<quint32>(value), 16).toUpper();
}

QString scaleText(qint32 scale) {
  switch (scale) {
    case 1:
      return QStringLiteral("Standard");
    case 2:
      return QStringLiteral("British");
    default:
      return QStringLiteral("Linear");
  }
}

}  // namespace

void PropertyGrid::SetProperties(frmPanel &panel, DesignObject *object) {
  UpdateBatch batch(*this);
  Clear();
  m_panel = &panel;
  m_shown = nullptr;
  if (!object) return;
  if (object->isCanvas()) {
    m_shown = object;
    fillPanel(panel);
    return;
  }
  clsControlDetails *record = panel.model().FindRecord(object);
  if (!record) {
    panel.ui().message(QStringLiteral("Error finding object details"));
    return;
  }
  m_shown = object;
  fillControl(panel, *object, *record);
}

void PropertyGrid::fillPanel(frmPanel &panel) {
  const PanelModel &model = panel.model();
  SetHeaders(QStringLiteral("Main"));
  setTextMatrix(CommonRow::Name, 1, model.pictMain.Tag);
  setTextMatrix(CommonRow::Caption, 1, panel.caption());
  setTextMatrix(MainRow::Width, 1, QString::number(model.Width));
  setTextMatrix(MainRow::Height, 1, QString::number(model.Height));
  setTextMatrix(MainRow::Picture, 1, model.PanelDetails.strPicture);
  setTextMatrix(MainRow::BackColor, 1, ColorValueToText(model.pictMain.BackColor));
  setTextMatrix(MainRow::ForeColor, 1, ColorValueToText(model.pictMain.ForeColor));
  setTextMatrix(MainRow::OnLoad, 1, model.PanelDetails.strOnload);
  setTextMatrix(MainRow::GraphicsPath, 1, model.strDefaultPictureLoc);
}

void PropertyGrid::fillControl(frmPanel &panel, DesignObject &object, clsControlDetails &record) {
  auto &control = static_cast<DesignControl &>(object);
  SetHeaders(QLatin1String(headerName(control.kind())));
  auto set = [this](int row, const QString &text) { setTextMatrix(row, 1, text); };
  set(CommonRow::Name, control.Tag);
  set(CommonRow::Width, QString::number(control.Width));
  set(CommonRow::Height, QString::number(control.Height));
  set(CommonRow::Top, QString::number(control.Top));
  set(CommonRow::Left, QString::number(control.Left));

  auto setFont = [&](int firstRow, const FontSpec &font) {
    set(firstRow, font.name);
    set(firstRow + 1, SizeText(font.size));
    set(firstRow + 2, BoolText(font.bold));
    set(firstRow + 3, BoolText(font.underline));
    set(firstRow + 4, BoolText(font.italic));
  };
  auto setButtonLabelCommon = [&](const FontSpec &font) {
    set(ButtonRow::BackColorOff, record.BackColorOff);
    set(ButtonRow::BackColorOn, record.BackColorOn);
    set(ButtonRow::ForeColor, record.ForeColor);
    setFont(ButtonRow::FontName, font);
    set(ButtonRow::State, record.State);
  };
  auto setMeter = [&]() {
    set(MeterRow::SourceDest,
        record.MeterIsSource ? QStringLiteral("Source") : QStringLiteral("Destination"));
    set(MeterRow::RouterNumber, QString::number(record.MeterRouterNumber));
    set(MeterRow::IONumber, QString::number(record.MeterIONumber));
    set(MeterRow::Scale, scaleText(record.MeterScale));
    set(MeterRow::Style,
        record.MeterStyle == 0 ? QStringLiteral("Led") : QStringLiteral("Gradient"));
    set(MeterRow::LineColor, record.LevelLineColor);
    set(MeterRow::DecayRate, QString::number(record.DecayRate));
  };

  if (auto *button = As<DesignButton>(&object)) {
    set(CommonRow::Caption, CaptionToCell(button->Caption));
    setButtonLabelCommon(button->Font);
    set(ButtonRow::OnClick, record.Click);
    set(ButtonRow::OnMouseDown, record.MouseDown);
    set(ButtonRow::OnMouseUp, record.MouseUp);
    set(ButtonRow::PictureUpOn, record.PictureUpOn);
    set(ButtonRow::PictureUpOff, record.PictureUpOff);
    set(ButtonRow::PictureDownOn, record.PictureDownOn);
    set(ButtonRow::PictureDownOff, record.PictureDownOff);
    set(ButtonRow::FlashPicture, record.FlashPicture);
    set(ButtonRow::Flash, OnOffText(record.Flash));
    set(ButtonRow::Enabled, BoolText(record.Enabled));
    set(ButtonRow::MapRouter, record.MapRouter);
    set(ButtonRow::MapSource, record.MapSource);
    set(ButtonRow::MapDestination, record.MapDestination);
    fillHardwareRows(panel, object, record);
  } else if (auto *label = As<DesignLabel>(&object)) {
    set(CommonRow::Caption, CaptionToCell(label->Text));
    setButtonLabelCommon(label->Font);
    set(LabelRow::Flash, OnOffText(record.Flash));
    fillHardwareRows(panel, object, record);
  } else if (auto *web = As<DesignWebBrowser>(&object)) {
    set(WebRow::URL, record.WebURL);
    if (!record.WebURL.isEmpty() && web->LocationURL != record.WebURL) {
      web->LocationURL = record.WebURL;
      panel.notify(frmPanel::Properties);
    }
  } else if (As<DesignMeter>(&object)) {
    setMeter();
    set(MeterRow::CenterPadOrNominal, QString::number(record.CenterPad));
  } else if (auto *fader = As<DesignMeterFader>(&object)) {
    set(CommonRow::Caption, CaptionToCell(fader->MeterName));
    setMeter();
    set(MeterRow::CenterPadOrNominal, FloatToText(record.FaderNominal));
    set(MeterRow::HideGainValue, BoolText(record.HideGainValue));
  } else if (auto *clock = As<DesignClock>(&object)) {
    set(CommonRow::Caption, clock->Tag);
    set(ClockRow::BackColor, clockColourText(clock->BackgroundColor));
    set(ClockRow::ForeColor, clockColourText(clock->ForegroundColor));
    set(ClockRow::FaceVisible, BoolText(clock->FaceVisible));
    set(ClockRow::Digital, BoolText(clock->Digital));
    set(ClockRow::Military, BoolText(clock->Military));
    set(ClockRow::Picture, clock->BackGroundPicture);
    set(ClockRow::Stretch, BoolText(clock->BackgroundImageStretch));
    setFont(ClockRow::FontName, FontSpec{clock->FontName, clock->FontSize, clock->FontBold,
                                         clock->FontUnderline, clock->FontItalic});
    set(ClockRow::LongHashColor, clockColourText(clock->LongHashColor));
    set(ClockRow::ShortHashColor, clockColourText(clock->ShortHashColor));
    set(ClockRow::FaceBorderColor, clockColourText(clock->FaceBorderColor));
    set(ClockRow::OffSet, QString::number(clock->OffSet));
    set(ClockRow::FaceNumbers, BoolText(clock->FaceNumbers));
    set(ClockRow::ElementHands, BoolText(clock->ElementHands));
  }
}

// Rows of the hardware binding. Showing a control fills in a missing type
// (user-panel button on port 4010) and internal name in its record; this
// does not count as a change of the panel.
void PropertyGrid::fillHardwareRows(frmPanel &panel, DesignObject &object,
                                    clsControlDetails &record) {
  const GridKind k = kind();
  const HardwareRows hw = HardwareRowsOf(k);
  if (record.HWMapType.isEmpty()) {
    record.HWMapType = QStringLiteral("Button");
    record.HWMapHostPort = QStringLiteral("4010");
  }
  if (record.HWMapInternalName().isEmpty())
    record.setHWMapInternalName(panel.model().pictMain.Tag + u'.' + object.Tag);

  setTextMatrix(hw.type, 1, ShownMapType(k, record.HWMapType));
  setTextMatrix(hw.hostIP, 1, record.HWMapHostIP);
  setTextMatrix(hw.hostPort, 1, record.HWMapHostPort);
  setTextMatrix(hw.internalName, 1, record.HWMapInternalName());
  setTextMatrix(hw.code, 1, record.HWMapAoipSysName);

  const bool userPanel =
      record.HWMapType.isEmpty() || record.HWMapType == u"Button" || record.HWMapType == u"Label";
  setTextMatrix(hw.module, 0,
                userPanel ? QStringLiteral("UserPanel Module") : QStringLiteral("GPIO Port"));
  setTextMatrix(hw.pin, 0,
                userPanel ? QStringLiteral("UserPanel Button") : QStringLiteral("GPIO Pin"));
  setTextMatrix(hw.module, 1, GetHWModuleNumber(std::as_const(record.HWMapAoipSysName)));
  setTextMatrix(hw.pin, 1, GetHWPortNumber(std::as_const(record.HWMapAoipSysName)));
}
