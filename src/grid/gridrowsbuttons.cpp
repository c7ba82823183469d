// The rows of buttons and labels, which share rows 2-16 and their hardware
// binding rows.

#include <array>
#include <utility>

#include "grid/gridtables.h"
#include "grid/mappingbuild.h"
#include "grid/propertygrid.h"
#include "hwmap/mappingcode.h"
#include "model/colors.h"
#include "model/numbers.h"

namespace {

using R = ControlRecord;
using E = EditKind;
constexpr KindSet kAnyKind = KindSet::all();
constexpr KindSet kButtons{ControlKind::Button};

FontSpec *fontOf(DesignObject &object) {
  if (auto *button = controlCast<DesignButton>(&object)) return &button->font;
  if (auto *label = controlCast<DesignLabel>(&object)) return &label->font;
  return nullptr;
}

// --- reading

QString readCaption(RowSource &s) {
  if (auto *button = controlCast<DesignButton>(&s.object)) return captionToCell(button->caption);
  if (auto *label = controlCast<DesignLabel>(&s.object)) return captionToCell(label->text);
  return QString();
}

QString readFontName(RowSource &s) { return fontOf(s.object)->name; }
QString readFontSize(RowSource &s) { return sizeText(fontOf(s.object)->size); }
template <bool FontSpec::*Field>
QString readFontFlag(RowSource &s) {
  return trueFalseText(fontOf(s.object)->*Field);
}
QString readFlash(RowSource &s) { return onOffText(s.record->flash); }
QString readEnabled(RowSource &s) { return trueFalseText(s.record->enabled); }

// Showing a control fills in a missing hardware type (a user-panel button
// on port 4010) and internal name in its record; this does not count as a
// change of the panel.
QString readMapType(RowSource &s) {
  R &record = *s.record;
  if (record.hwMapType.isEmpty()) {
    record.hwMapType = QStringLiteral("Button");
    record.hwMapHostPort = QStringLiteral("4010");
  }
  return shownMapType(s.kind, record.hwMapType);
}

QString readInternalName(RowSource &s) {
  R &record = *s.record;
  if (record.hwMapInternalName().isEmpty())
    record.setHWMapInternalName(s.panel.model().canvas.tag + u'.' + s.object.tag);
  return record.hwMapInternalName();
}

bool isUserPanelType(const QString &type) {
  return type.isEmpty() || type == u"Button" || type == u"Label";
}
QString readModuleLabel(RowSource &s) {
  return isUserPanelType(s.record->hwMapType) ? QStringLiteral("UserPanel Module")
                                              : QStringLiteral("GPIO Port");
}
QString readPinLabel(RowSource &s) {
  return isUserPanelType(s.record->hwMapType) ? QStringLiteral("UserPanel Button")
                                              : QStringLiteral("GPIO Pin");
}
QString readModule(RowSource &s) {
  return hwModuleNumber(std::as_const(s.record->hwMapAoipSysName));
}
QString readPin(RowSource &s) { return hwPortNumber(std::as_const(s.record->hwMapAoipSysName)); }

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
  const HardwareRows hw = hardwareRowsOf(grid.kind());
  const QString type = storedMapType(grid.kind(), grid.textMatrix(hw.type, 1)).toLower();
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
  ctx.grid.captionEdited(*ctx.record);
  return PanelEditor::Properties;
}

template <QString R::*Field>
int writeBackColour(EditContext &ctx) {
  forEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, R &r) {
    r.*Field = storedColorText(ctx.text);
    setBackColor(c, stateBackColor(r));
  });
  return PanelEditor::Properties;
}

int writeLabelForeColour(EditContext &ctx) {
  forEachSelected(ctx.panel, {ControlKind::Label}, [&](DesignControl &c, R &r) {
    r.foreColor = storedColorText(ctx.text);
    controlCast<DesignLabel>(&c)->foreColor = colorValue(ctx.text);
  });
  return PanelEditor::Properties;
}

int writeFontSize(EditContext &ctx) {
  const double size = cellFontSize(ctx.text);
  forEachSelected(ctx.panel, kButtonsAndLabels,
                  [&](DesignControl &c, R &) { fontOf(c)->size = size; });
  return PanelEditor::Properties;
}

template <bool FontSpec::*Field>
int writeFontFlag(EditContext &ctx) {
  const bool flag = cellBool(ctx.text);
  forEachSelected(ctx.panel, kButtonsAndLabels,
                  [&](DesignControl &c, R &) { fontOf(c)->*Field = flag; });
  return PanelEditor::Properties;
}

// State and flash are stored in the shown control's record and copied to
// every selected button and label; each then shows its own colours again.
int applyStateOrFlash(EditContext &ctx, bool isState) {
  const bool off = ctx.text.toLower() == u"off";
  ctx.grid.setTextMatrix(ctx.row, 1, onOffText(!off));
  auto apply = [&](DesignControl &control, R &record) {
    if (isState)
      record.state = onOffText(!off);
    else
      record.flash = !off;
    // A control that stops flashing shows its state's colour once.
    if (isState || off) setBackColor(control, stateBackColor(record));
    ctx.panel.setControlGraphics(record);
  };
  apply(static_cast<DesignControl &>(*ctx.shown), *ctx.record);
  forEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &c, R &r) {
    if (&r != ctx.record) apply(c, r);
  });
  return PanelEditor::Properties;
}
int writeState(EditContext &ctx) { return applyStateOrFlash(ctx, true); }
int writeFlash(EditContext &ctx) { return applyStateOrFlash(ctx, false); }

int writeEnabled(EditContext &ctx) {
  const bool enabled = ctx.text.toLower() != u"false";
  forEachSelected(ctx.panel, kAnyKind, [&](DesignControl &, R &r) { r.enabled = enabled; });
  return PanelEditor::Properties;
}

int writeMapType(EditContext &ctx) {
  const HardwareRows hw = hardwareRowsOf(ctx.kind);
  const QString type = storedMapType(ctx.kind, ctx.text);
  const bool gpio = isGpioMapType(type);
  const QString port = defaultHostPort(type);
  ctx.grid.setTextMatrix(hw.hostPort, 1, port);
  if (ctx.kind == GridKind::Button) {
    ctx.grid.setTextMatrix(
        hw.module, 0, gpio ? QStringLiteral("GPIO Port") : QStringLiteral("User Panel Module"));
    ctx.grid.setTextMatrix(
        hw.pin, 0, gpio ? QStringLiteral("GPIO Circuit") : QStringLiteral("User Panel Button"));
  }
  for (int row : {hw.module, hw.pin, hw.code}) ctx.grid.setTextMatrix(row, 1, QString());

  auto apply = [&](DesignControl &, R &record) {
    record.hwMapType = type;
    record.hwMapHostPort = port;
    record.hwMapAoipSysName.clear();
  };
  apply(static_cast<DesignControl &>(*ctx.shown), *ctx.record);
  forEachSelected(ctx.panel, kButtonsAndLabels, apply);
  return PanelEditor::Properties;
}

// A new module (GPIO: port) for the shown control and every selected button
// and label; each keeps its own button (circuit) part.
int writeModule(EditContext &ctx) {
  const HardwareRows hw = hardwareRowsOf(ctx.kind);
  const QString type = ctx.record->hwMapType;
  const QString module = ctx.grid.textMatrix(hw.module, 1);
  const QString button = ctx.grid.textMatrix(hw.pin, 1);
  // The shown control's code comes from the two rows; when the button row
  // is empty because its key text is none the row can show ("DISP1"), the
  // control keeps that key text like every other selected control.
  const auto code = isGpioMapType(type) || !button.trimmed().isEmpty()
                        ? buildMappingCode(type, module, button)
                        : replaceMappingModule(type, ctx.record->hwMapAoipSysName, module, button);
  if (!code) throw GridEditError("button number out of range");
  ctx.record->hwMapAoipSysName = *code;
  ctx.grid.setTextMatrix(hw.code, 1, *code);

  forEachSelected(ctx.panel, kButtonsAndLabels, [&](DesignControl &, R &r) {
    if (&r == ctx.record) return;
    r.hwMapType = type;
    const auto moved = replaceMappingModule(type, r.hwMapAoipSysName, module, button);
    if (!moved) throw GridEditError("button number out of range");
    r.hwMapAoipSysName = *moved;
  });
  return PanelEditor::Properties;
}

int writePin(EditContext &ctx) {
  ctx.grid.mapPinEdited(*ctx.record);
  return PanelEditor::Properties;
}

// --- the rows

namespace Row {
constexpr GridRow Caption{
    .label = "Caption", .edit = E::Text, .read = readCaption, .write = writeCaption};
constexpr GridRow BackColorOff{.label = "BackColorOff",
                               .edit = E::Colour,
                               .read = recordText<&R::backColorOff>,
                               .write = writeBackColour<&R::backColorOff>,
                               .cellButton = chooseColour,
                               .colour = true};
constexpr GridRow BackColorOn{.label = "BackColorOn",
                              .edit = E::Colour,
                              .read = recordText<&R::backColorOn>,
                              .write = writeBackColour<&R::backColorOn>,
                              .cellButton = chooseColour,
                              .colour = true};
constexpr GridRow FontName{.label = "Font Name",
                           .edit = E::CellButton,
                           .read = readFontName,
                           .cellButton = chooseButtonFont};
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
                        .read = recordText<&R::state>,
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
  return {.label = label, .edit = E::ReadOnly, .read = recordText<&R::hwMapAoipSysName>};
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
          .cellButton = chooseButtonPicture,
          .clear = clearButtonPicture};
}
}  // namespace Row

// Rows 8-16 of both kinds; they differ in how row 10 (foreColor) is edited.
constexpr std::array<GridRow, 9> colourFontAndState(const GridRow &foreColor) {
  return {Row::BackColorOff, Row::BackColorOn,   foreColor,       Row::FontName, Row::FontSize,
          Row::FontBold,     Row::FontUnderline, Row::FontItalic, Row::State};
}

constexpr auto kButtonRows = controlRows(
    Row::Caption,
    joinRows(
        // foreColor is shown only; no grid action changes it (its colour cell
        // button does nothing).
        colourFontAndState(GridRow{.label = "ForeColor",
                                   .edit = E::ReadOnly,
                                   .read = recordText<&R::foreColor>,
                                   .colour = true}),
        std::array{
            recordTextRow<&R::click, kAnyKind>("OnClick"),
            recordTextRow<&R::mouseDown, kAnyKind>("OnMouseDown"),
            recordTextRow<&R::mouseUp, kAnyKind>("OnMouseUp"),
            Row::picture("Picture_Up_On", recordText<&R::pictureUpOn>),
            Row::picture("Picture_Up_Off", recordText<&R::pictureUpOff>),
            Row::picture("Picture_Down_On", recordText<&R::pictureDownOn>),
            Row::picture("Picture_Down_Off", recordText<&R::pictureDownOff>),
            // Shown with a cell button, but nothing sets it; Delete empties only the cell.
            GridRow{.label = "FlashPicture",
                    .edit = E::CellButton,
                    .read = recordText<&R::flashPicture>,
                    .clear = clearButtonPicture},
            Row::Flash,
            GridRow{.label = "Enabled",
                    .edit = E::List,
                    .list = &GridList::FalseTrue,
                    .read = readEnabled,
                    .write = writeEnabled},
            recordTextRow<&R::mapRouter, kButtons>("MapRouter"),
            recordTextRow<&R::mapSource, kButtons>("MapSource"),
            recordTextRow<&R::mapDestination, kButtons>("MapDestination"),
            Row::mapType("HWMapType", &GridList::ButtonMapType),
            recordTextRow<&R::hwMapHostIP, kButtonsAndLabels>("HWMapHostIP"),
            recordTextRow<&R::hwMapHostPort, kButtonsAndLabels>("HWMapHostPort"),
            Row::internalName("HWMapInternalName"),
            Row::mappingCode("HWMapAoipSysName"),
            Row::Module,
            Row::Pin,
        }));

constexpr auto kLabelRows = controlRows(
    Row::Caption,
    joinRows(colourFontAndState(GridRow{.label = "ForeColor",
                                        .edit = E::Colour,
                                        .read = recordText<&R::foreColor>,
                                        .write = writeLabelForeColour,
                                        .cellButton = chooseColour,
                                        .colour = true}),
             std::array{
                 Row::Flash,
                 Row::mapType("HardwareMapType", &GridList::LabelMapType),
                 recordTextRow<&R::hwMapHostIP, kButtonsAndLabels>("HardwareMapHostIP"),
                 recordTextRow<&R::hwMapHostPort, kButtonsAndLabels>("HardwareMapHostPort"),
                 Row::internalName("HardwareMapInternalName"),
                 Row::mappingCode("HardwareMapAoipSysName"),
                 Row::Module,
                 Row::Pin,
             }));

}  // namespace

std::span<const GridRow> buttonRowTable() { return kButtonRows; }
std::span<const GridRow> labelRowTable() { return kLabelRows; }
