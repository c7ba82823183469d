#include "grid/gridrows.h"

#include <array>
#include <span>

namespace {

struct RowInfo {
  const char *label;
  EditKind edit;
  const QString *list = nullptr;
  bool colour = false;
};

using E = EditKind;

// Rows 0-5 of every kind.
constexpr RowInfo kHeader{"Property Name", E::ReadOnly};
constexpr RowInfo kType{"Type", E::ReadOnly};
constexpr RowInfo kName{"Name", E::Text};
constexpr RowInfo kCaption{"Caption", E::Text};
constexpr RowInfo kWidth{"Width", E::Text};
constexpr RowInfo kHeight{"Height", E::Text};
constexpr RowInfo kTop{"Top", E::Text};
constexpr RowInfo kLeft{"Left", E::Text};

const RowInfo kColourOff{"BackColorOff", E::Colour, nullptr, true};
const RowInfo kColourOn{"BackColorOn", E::Colour, nullptr, true};

const std::array kMainRows{
    kHeader,
    kType,
    kName,
    kCaption,
    kWidth,
    kHeight,
    RowInfo{"Background Picture", E::CellButton},
    RowInfo{"BackColor", E::Colour, nullptr, true},
    RowInfo{"ForeColor", E::Colour, nullptr, true},
    RowInfo{"OnLoad", E::Text},
    RowInfo{"Default Graphics Path", E::CellButton},
};

const std::array kButtonRows{
    kHeader,
    kType,
    kName,
    kCaption,
    kWidth,
    kHeight,
    kTop,
    kLeft,
    kColourOff,
    kColourOn,
    RowInfo{"ForeColor", E::ReadOnly, nullptr, true},
    RowInfo{"Font Name", E::CellButton},
    RowInfo{"Font Size", E::Text},
    RowInfo{"Font Bold", E::List, &GridList::FalseTrue},
    RowInfo{"Font Underline", E::List, &GridList::FalseTrue},
    RowInfo{"Font Italic", E::List, &GridList::FalseTrue},
    RowInfo{"State", E::List, &GridList::OffOn},
    RowInfo{"OnClick", E::Text},
    RowInfo{"OnMouseDown", E::Text},
    RowInfo{"OnMouseUp", E::Text},
    RowInfo{"Picture_Up_On", E::CellButton},
    RowInfo{"Picture_Up_Off", E::CellButton},
    RowInfo{"Picture_Down_On", E::CellButton},
    RowInfo{"Picture_Down_Off", E::CellButton},
    RowInfo{"FlashPicture", E::CellButton},
    RowInfo{"Flash", E::List, &GridList::OffOn},
    RowInfo{"Enabled", E::List, &GridList::FalseTrue},
    RowInfo{"MapRouter", E::Text},
    RowInfo{"MapSource", E::Text},
    RowInfo{"MapDestination", E::Text},
    RowInfo{"HWMapType", E::List, &GridList::ButtonMapType},
    RowInfo{"HWMapHostIP", E::Text},
    RowInfo{"HWMapHostPort", E::Text},
    RowInfo{"HWMapInternalName", E::Text},
    RowInfo{"HWMapAoipSysName", E::ReadOnly},
    RowInfo{"UserPanel Module", E::Dynamic},
    RowInfo{"UserPanel Button", E::Dynamic},
};

const std::array kLabelRows{
    kHeader,
    kType,
    kName,
    kCaption,
    kWidth,
    kHeight,
    kTop,
    kLeft,
    kColourOff,
    kColourOn,
    RowInfo{"ForeColor", E::Colour, nullptr, true},
    RowInfo{"Font Name", E::CellButton},
    RowInfo{"Font Size", E::Text},
    RowInfo{"Font Bold", E::List, &GridList::FalseTrue},
    RowInfo{"Font Underline", E::List, &GridList::FalseTrue},
    RowInfo{"Font Italic", E::List, &GridList::FalseTrue},
    RowInfo{"State", E::List, &GridList::OffOn},
    RowInfo{"Flash", E::List, &GridList::OffOn},
    RowInfo{"HardwareMapType", E::List, &GridList::LabelMapType},
    RowInfo{"HardwareMapHostIP", E::Text},
    RowInfo{"HardwareMapHostPort", E::Text},
    RowInfo{"HardwareMapInternalName", E::Text},
    RowInfo{"HardwareMapAoipSysName", E::ReadOnly},
    RowInfo{"UserPanel Module", E::Dynamic},
    RowInfo{"UserPanel Button", E::Dynamic},
};

const std::array kWebRows{
    kHeader, kType, kName, kCaption, kWidth, kHeight, kTop, kLeft, RowInfo{"URL", E::Text},
};

// Meter rows; the meter-fader relabels row 15 and adds row 16.
const std::array kMeterRows{
    kHeader,
    kType,
    kName,
    kCaption,
    kWidth,
    kHeight,
    kTop,
    kLeft,
    RowInfo{"Source/Dest", E::List, &GridList::SourceDest},
    RowInfo{"Router Number", E::Text},
    RowInfo{"IO Number", E::Text},
    RowInfo{"Scale", E::List, &GridList::Scale},
    RowInfo{"Style", E::List, &GridList::Style},
    RowInfo{"Line Color", E::Colour, nullptr, true},
    RowInfo{"Decay Rate", E::Text},
    RowInfo{"Center Pad", E::Text},
};

const std::array kMeterFaderRows{
    kHeader,
    kType,
    kName,
    kCaption,
    kWidth,
    kHeight,
    kTop,
    kLeft,
    kMeterRows[8],
    kMeterRows[9],
    kMeterRows[10],
    kMeterRows[11],
    kMeterRows[12],
    kMeterRows[13],
    kMeterRows[14],
    RowInfo{"Fader Nominal", E::Text},
    RowInfo{"Hide Gain Value", E::List, &GridList::TrueFalse},
};

const std::array kClockRows{
    kHeader,
    kType,
    kName,
    kCaption,
    kWidth,
    kHeight,
    kTop,
    kLeft,
    RowInfo{"BackColor", E::Colour, nullptr, true},
    RowInfo{"ForeColor", E::Colour, nullptr, true},
    RowInfo{"FaceVisible", E::List, &GridList::FalseTrue},
    RowInfo{"Digital", E::List, &GridList::FalseTrue},
    RowInfo{"24 Hour", E::List, &GridList::FalseTrue},
    RowInfo{"Background Picture", E::CellButton},
    RowInfo{"Stretch Image", E::List, &GridList::FalseTrue},
    RowInfo{"Font Name", E::CellButton},
    RowInfo{"Font Size", E::Text},
    RowInfo{"Font Bold", E::List, &GridList::FalseTrue},
    RowInfo{"Font Underline", E::List, &GridList::FalseTrue},
    RowInfo{"Font Italic", E::List, &GridList::FalseTrue},
    RowInfo{"Long Hash Color", E::Colour, nullptr, true},
    RowInfo{"Short Hash Color", E::Colour, nullptr, true},
    RowInfo{"Face Border Color", E::Colour, nullptr, true},
    RowInfo{"Time Offset", E::Text},
    RowInfo{"Face Numbers", E::List, &GridList::FalseTrue},
    RowInfo{"Element Hands", E::List, &GridList::FalseTrue},
};

std::span<const RowInfo> rowsOf(GridKind kind) {
  switch (kind) {
    case GridKind::Main:
      return kMainRows;
    case GridKind::Button:
      return kButtonRows;
    case GridKind::Label:
      return kLabelRows;
    case GridKind::WebBrowser:
      return kWebRows;
    case GridKind::Meter:
      return kMeterRows;
    case GridKind::MeterFader:
      return kMeterFaderRows;
    case GridKind::Clock:
      return kClockRows;
    case GridKind::None:
      break;
  }
  return {};
}

const RowInfo *infoOf(GridKind kind, int row) {
  const auto rows = rowsOf(kind);
  if (row < 0 || row >= static_cast<int>(rows.size())) return nullptr;
  return &rows[row];
}

struct KindName {
  GridKind kind;
  const char *text;
};
constexpr std::array kKindNames{
    KindName{GridKind::Main, "Main"},   KindName{GridKind::Button, "Button"},
    KindName{GridKind::Label, "Label"}, KindName{GridKind::WebBrowser, "WebBrowser"},
    KindName{GridKind::Meter, "Meter"}, KindName{GridKind::MeterFader, "MeterFader"},
    KindName{GridKind::Clock, "Clock"},
};

}  // namespace

QString GridKindText(GridKind kind) {
  for (const auto &k : kKindNames)
    if (k.kind == kind) return QLatin1String(k.text);
  return QString();
}

GridKind GridKindFromText(const QString &text) {
  for (const auto &k : kKindNames)
    if (text.compare(QLatin1String(k.text), Qt::CaseInsensitive) == 0) return k.kind;
  return GridKind::None;
}

GridKind GridKindFromHeaderName(const QString &name) {
  if (name == QLatin1String("WebControl")) return GridKind::WebBrowser;
  if (name == QLatin1String("WebBrowser")) return GridKind::None;
  for (const auto &k : kKindNames)
    if (name == QLatin1String(k.text)) return k.kind;
  return GridKind::None;
}

int GridRowCount(GridKind kind) { return static_cast<int>(rowsOf(kind).size()); }

QString GridRowLabel(GridKind kind, int row) {
  const RowInfo *info = infoOf(kind, row);
  return info ? QString::fromLatin1(info->label) : QString();
}

EditKind GridRowEditKind(GridKind kind, int row) {
  const RowInfo *info = infoOf(kind, row);
  return info ? info->edit : EditKind::ReadOnly;
}

QString GridRowList(GridKind kind, int row) {
  const RowInfo *info = infoOf(kind, row);
  return info && info->list ? *info->list : QString();
}

bool IsColourRow(GridKind kind, int row) {
  const RowInfo *info = infoOf(kind, row);
  return info && info->colour;
}

HardwareRows HardwareRowsOf(GridKind kind) {
  if (kind == GridKind::Button)
    return {ButtonRow::MapType,     ButtonRow::HostIP, ButtonRow::HostPort, ButtonRow::InternalName,
            ButtonRow::MappingCode, ButtonRow::Module, ButtonRow::Pin};
  if (kind == GridKind::Label)
    return {LabelRow::MapType,     LabelRow::HostIP, LabelRow::HostPort, LabelRow::InternalName,
            LabelRow::MappingCode, LabelRow::Module, LabelRow::Pin};
  return {};
}
