// The rows of buttons and labels, which share rows 2-16 and their hardware
// binding rows.

#include <array>
#include <utility>

#include "grid/gridtables.h"
#include "grid/mappingbuild.h"
#include "grid/propertygrid.h"
#include "hwmap/mappingcode.h"
#include "model/colors.h"

namespace {

using R = clsControlDetails;
using E = EditKind;
constexpr KindSet kAnyKind = KindSet::All();
constexpr KindSet kButtons{ControlKind::Button};

FontSpec *fontOf(DesignObject &object) {
  if (auto *button = As<DesignButton>(&object)) return &button->Font;
  if (auto *label = As<DesignLabel>(&object)) return &label->Font;
  return nullptr;
}

// --- reading

QString readCaption(RowSource &s) {
  if (auto *button = As<DesignButton>(&s.object)) return CaptionToCell(button->Caption);
  if (auto *label = As<DesignLabel>(&s.object)) return CaptionToCell(label->Text);
  return QString();
}

QString readFontName(RowSource &s) { return fontOf(s.object)->name; }
QString readFontSize(RowSource &s) { return SizeText(fontOf(s.object)->size); }
template <bool FontSpec::*Field>
QString readFontFlag(RowSource &s) {
  return BoolText(fontOf(s.object)->*Field);
}
QString readFlash(RowSource &s) { return OnOffText(s.record->Flash); }
QString readEnabled(RowSource &s) { return BoolText(s.record->Enabled); }

// Showing a control fills in a missing hardware type (a user-panel button
// on port 4010) and internal name in its record; this does not count as a
// change of the panel.
QString readMapType(RowSource &s) {
  R &record = *s.record;
  if (record.HWMapType.isEmpty()) {
    record.HWMapType = QStringLiteral("Button");
    record.HWMapHostPort = QStringLiteral("4010");
  }
  return ShownMapType(s.kind, record.HWMapType);
}

QString readInternalName(RowSource &s) {
  R &record = *s.record;
  if (record.HWMapInternalName().isEmpty())
    record.setHWMapInternalName(s.panel.model().pictMain.Tag + u'.' + s.object.Tag);
  return record.HWMapInternalName();
}

bool isUserPanelType(const QString &type) {
  return type.isEmpty() || type == u"Button" || type == u"Label";
}
QString readModuleLabel(RowSource &s) {
  return isUserPanelType(s.record->HWMapType) ? QStringLiteral("UserPanel Module")
                                              : QStringLiteral("GPIO Port");
}
QString readPinLabel(RowSource &s) {
  return isUserPanelType(s.record->HWMapType) ? QStringLiteral("UserPanel Button")
                                              : QStringLiteral("GPIO Pin");
}
QString readModule(RowSource &s) {
  return GetHWModuleNumber(std::as_const(s.record->HWMapAoipSysName));
}
QString readPin(RowSource &s) { return GetHWPortNumber(std::as_const(s.record->HWMapAoipSysName)); }

// --- the drop-downs of the module and button rows, by the type the grid shows

QString numberList(int first, int last) {
  QStringList entries;
  for (int n = first; n <= last; ++n) entries << QString::number(n);
  return entries.join(u'|');
}

QString userPanelModules() {
  QStringList entries;
  for (const char *module : {"USER#", "ACCESS#"})
    for (int n = 0; n <= 64; ++n) entries << QLatin1String(module) + QString::number(n);
  return entries.join(u'|');
}

// An unknown type gives no list: the cell is typed.
QString hardwareList(const PropertyGrid &grid, bool module) {
  const HardwareRows hw = HardwareRowsOf(grid.kind());
  const QString type = StoredMapType(grid.kind(), grid.TextMatrix(hw.type, 1)).toLower();
  if (type == u"button" || type == u"label") {
    static const QString modules = userPanelModules();
    static const QString keys = QStringLiteral("DISP|") + numberList(1, 17);
    return module ? modules : keys;
  }
  if (type == u"gpiobutton") return module ? numberList(1, 8) : numberList(1, 5);
  return QString();
}
QString moduleList(const PropertyGrid &grid) { return hardwareList(grid, true); }
QString pinList(const PropertyGrid &grid) { return hardwareList(grid, false); }

// --- writing

int writeCaption(EditContext &ctx) {
  ctx.grid.LocCaption_AfterEdit(*ctx.record);
  return frmPanel::Properties;
}

template <QString R::*Field>
int writeBackColour(EditContext &ctx) {
  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, R &r) {
    r.*Field = StoredColorText(ctx.text);
    SetBackColor(c, StateBackColor(r));
  });
  return frmPanel::Properties;
}

int writeLabelForeColour(EditContext &ctx) {
  ForEachSelected(ctx.panel, {ControlKind::Label}, [&](DesignControl &c, R &r) {
    r.ForeColor = StoredColorText(ctx.text);
    As<DesignLabel>(&c)->ForeColor = GetColorValue(ctx.text);
  });
  return frmPanel::Properties;
}

int writeFontSize(EditContext &ctx) {
  const double size = CellFontSize(ctx.text);
  ForEachSelected(ctx.panel, kButtonsAndLabels,
                  [&](DesignControl &c, R &) { fontOf(c)->size = size; });
  return frmPanel::Properties;
}

template <bool FontSpec::*Field>
int writeFontFlag(EditContext &ctx) {
  const bool flag = CellBool(ctx.text);
  ForEachSelected(ctx.panel, kButtonsAndLabels,
                  [&](DesignControl &c, R &) { fontOf(c)->*Field = flag; });
  return frmPanel::Properties;
}

// State and flash are stored in the shown control's record and copied to
// every selected button and label; each then shows its own colours again.
int applyStateOrFlash(EditContext &ctx, bool isState) {
  const bool off = ctx.text.toLower() == u"off";
  ctx.grid.setTextMatrix(ctx.row, 1, OnOffText(!off));
  auto apply = [&](DesignControl &control, R &record) {
    if (isState)
      record.State = OnOffText(!off);
    else
      record.Flash = !off;
    // A control that stops flashing shows its state's colour once.
    if (isState || off) SetBackColor(control, StateBackColor(record));
    ctx.panel.SetControlGraphics(record);
  };
  apply(static_cast<DesignControl &>(*ctx.shown), *ctx.record);
  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, R &r) {
    if (&r != ctx.record) apply(c, r);
  });
  return frmPanel::Properties;
}
int writeState(EditContext &ctx) { return applyStateOrFlash(ctx, true); }
int writeFlash(EditContext &ctx) { return applyStateOrFlash(ctx, false); }

int writeEnabled(EditContext &ctx) {
  const bool enabled = ctx.text.toLower() != u"false";
  ForEachSelected(ctx.panel, kAnyKind, [&](DesignControl &, R &r) { r.Enabled = enabled; });
  return frmPanel::Properties;
}

int writeMapType(EditContext &ctx) {
  const HardwareRows hw = HardwareRowsOf(ctx.kind);
  const QString type = StoredMapType(ctx.kind, ctx.text);
  const bool gpio = IsGpioMapType(type);
  const QString port = DefaultHostPort(type);
  ctx.grid.setTextMatrix(hw.hostPort, 1, port);
  if (ctx.kind == GridKind::Button) {
    ctx.grid.setTextMatrix(
        hw.module, 0, gpio ? QStringLiteral("GPIO Port") : QStringLiteral("User Panel Module"));
    ctx.grid.setTextMatrix(
        hw.pin, 0, gpio ? QStringLiteral("GPIO Circuit") : QStringLiteral("User Panel Button"));
  }
  for (int row : {hw.module, hw.pin, hw.code}) ctx.grid.setTextMatrix(row, 1, QString());

  auto apply = [&](DesignControl &, R &record) {
    record.HWMapType = type;
    record.HWMapHostPort = port;
    record.HWMapAoipSysName.clear();
  };
  apply(static_cast<DesignControl &>(*ctx.shown), *ctx.record);
  ForEachSelected(ctx.panel, kButtonsAndLabels, apply);
  return frmPanel::Properties;
}

// A new module (GPIO: port) for the shown control and every selected button
// and label; each keeps its own button (circuit) part.
int writeModule(EditContext &ctx) {
  const HardwareRows hw = HardwareRowsOf(ctx.kind);
  const QString type = ctx.record->HWMapType;
  const QString module = ctx.grid.TextMatrix(hw.module, 1);
  const QString button = ctx.grid.TextMatrix(hw.pin, 1);
  // The shown control's code comes from the two rows; when the button row
  // is empty because its key text is none the row can show ("DISP1"), the
  // control keeps that key text like every other selected control.
  const auto code = IsGpioMapType(type) || !button.trimmed().isEmpty()
                        ? BuildMappingCode(type, module, button)
                        : ReplaceMappingModule(type, ctx.record->HWMapAoipSysName, module, button);
  if (!code) throw GridEditError("button number out of range");
  ctx.record->HWMapAoipSysName = *code;
  ctx.grid.setTextMatrix(hw.code, 1, *code);

  ForEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &, R &r) {
    if (&r == ctx.record) return;
    r.HWMapType = type;
    const auto moved = ReplaceMappingModule(type, r.HWMapAoipSysName, module, button);
    if (!moved) throw GridEditError("button number out of range");
    r.HWMapAoipSysName = *moved;
  });
  return frmPanel::Properties;
}

int writePin(EditContext &ctx) {
  ctx.grid.LocMapPin_AfterEdit(*ctx.record);
  return frmPanel::Properties;
}

// --- the rows

namespace Row {
constexpr GridRow Caption{
    .label = "Caption", .edit = E::Text, .read = readCaption, .write = writeCaption};
constexpr GridRow BackColorOff{.label = "BackColorOff",
                               .edit = E::Colour,
                               .read = RecordText<&R::BackColorOff>,
                               .write = writeBackColour<&R::BackColorOff>,
                               .cellButton = ChooseColour,
                               .colour = true};
constexpr GridRow BackColorOn{.label = "BackColorOn",
                              .edit = E::Colour,
                              .read = RecordText<&R::BackColorOn>,
                              .write = writeBackColour<&R::BackColorOn>,
                              .cellButton = ChooseColour,
                              .colour = true};
constexpr GridRow FontName{.label = "Font Name",
                           .edit = E::CellButton,
                           .read = readFontName,
                           .cellButton = ChooseButtonFont};
constexpr GridRow FontSize{
    .label = "Font Size", .edit = E::Text, .read = readFontSize, .write = writeFontSize};
template <bool FontSpec::*Field>
constexpr GridRow fontFlag(const char *label) {
  return {.label = label,
          .edit = E::List,
          .list = &GridList::FalseTrue,
          .read = readFontFlag<Field>,
          .write = writeFontFlag<Field>};
}
constexpr GridRow FontBold = fontFlag<&FontSpec::bold>("Font Bold");
constexpr GridRow FontUnderline = fontFlag<&FontSpec::underline>("Font Underline");
constexpr GridRow FontItalic = fontFlag<&FontSpec::italic>("Font Italic");
constexpr GridRow State{.label = "State",
                        .edit = E::List,
                        .list = &GridList::OffOn,
                        .read = RecordText<&R::State>,
                        .write = writeState};
constexpr GridRow Flash{.label = "Flash",
                        .edit = E::List,
                        .list = &GridList::OffOn,
                        .read = readFlash,
                        .write = writeFlash};

// The hardware rows differ between the two kinds in their labels only.
constexpr GridRow mapType(const char *label, const QString *list) {
  return {
      .label = label, .edit = E::List, .list = list, .read = readMapType, .write = writeMapType};
}
// Can be typed into, but the text is not kept: the next fill shows the record.
constexpr GridRow internalName(const char *label) {
  return {.label = label, .edit = E::Text, .read = readInternalName};
}
constexpr GridRow mappingCode(const char *label) {
  return {.label = label, .edit = E::ReadOnly, .read = RecordText<&R::HWMapAoipSysName>};
}
constexpr GridRow Module{.label = "UserPanel Module",
                         .edit = E::Dynamic,
                         .buildList = moduleList,
                         .read = readModule,
                         .readLabel = readModuleLabel,
                         .write = writeModule};
constexpr GridRow Pin{.label = "UserPanel Button",
                      .edit = E::Dynamic,
                      .buildList = pinList,
                      .read = readPin,
                      .readLabel = readPinLabel,
                      .write = writePin};

constexpr GridRow picture(const char *label, QString (*read)(RowSource &)) {
  return {.label = label,
          .edit = E::CellButton,
          .read = read,
          .cellButton = ChooseButtonPicture,
          .clear = ClearButtonPicture};
}
}  // namespace Row

// Rows 8-16 of both kinds; they differ in how row 10 (ForeColor) is edited.
constexpr std::array<GridRow, 9> colourFontAndState(const GridRow &foreColor) {
  return {Row::BackColorOff, Row::BackColorOn,   foreColor,       Row::FontName, Row::FontSize,
          Row::FontBold,     Row::FontUnderline, Row::FontItalic, Row::State};
}

constexpr auto kButtonRows = ControlRows(
    Row::Caption,
    JoinRows(
        // ForeColor is shown only; no grid action changes it (its colour cell
        // button does nothing).
        colourFontAndState(GridRow{.label = "ForeColor",
                                   .edit = E::ReadOnly,
                                   .read = RecordText<&R::ForeColor>,
                                   .colour = true}),
        std::array{
            RecordTextRow<&R::Click, kAnyKind>("OnClick"),
            RecordTextRow<&R::MouseDown, kAnyKind>("OnMouseDown"),
            RecordTextRow<&R::MouseUp, kAnyKind>("OnMouseUp"),
            Row::picture("Picture_Up_On", RecordText<&R::PictureUpOn>),
            Row::picture("Picture_Up_Off", RecordText<&R::PictureUpOff>),
            Row::picture("Picture_Down_On", RecordText<&R::PictureDownOn>),
            Row::picture("Picture_Down_Off", RecordText<&R::PictureDownOff>),
            // Shown with a cell button, but nothing sets it; Delete empties only the cell.
            GridRow{.label = "FlashPicture",
                    .edit = E::CellButton,
                    .read = RecordText<&R::FlashPicture>,
                    .clear = ClearButtonPicture},
            Row::Flash,
            GridRow{.label = "Enabled",
                    .edit = E::List,
                    .list = &GridList::FalseTrue,
                    .read = readEnabled,
                    .write = writeEnabled},
            RecordTextRow<&R::MapRouter, kButtons>("MapRouter"),
            RecordTextRow<&R::MapSource, kButtons>("MapSource"),
            RecordTextRow<&R::MapDestination, kButtons>("MapDestination"),
            Row::mapType("HWMapType", &GridList::ButtonMapType),
            RecordTextRow<&R::HWMapHostIP, kButtonsAndLabels>("HWMapHostIP"),
            RecordTextRow<&R::HWMapHostPort, kButtonsAndLabels>("HWMapHostPort"),
            Row::internalName("HWMapInternalName"),
            Row::mappingCode("HWMapAoipSysName"),
            Row::Module,
            Row::Pin,
        }));

constexpr auto kLabelRows = ControlRows(
    Row::Caption,
    JoinRows(colourFontAndState(GridRow{.label = "ForeColor",
                                        .edit = E::Colour,
                                        .read = RecordText<&R::ForeColor>,
                                        .write = writeLabelForeColour,
                                        .cellButton = ChooseColour,
                                        .colour = true}),
             std::array{
                 Row::Flash,
                 Row::mapType("HardwareMapType", &GridList::LabelMapType),
                 RecordTextRow<&R::HWMapHostIP, kButtonsAndLabels>("HardwareMapHostIP"),
                 RecordTextRow<&R::HWMapHostPort, kButtonsAndLabels>("HardwareMapHostPort"),
                 Row::internalName("HardwareMapInternalName"),
                 Row::mappingCode("HardwareMapAoipSysName"),
                 Row::Module,
                 Row::Pin,
             }));

}  // namespace

std::span<const GridRow> ButtonRowTable() { return kButtonRows; }
std::span<const GridRow> LabelRowTable() { return kLabelRows; }
