// The rows of a clock. Every value is the clock's own property, not a
// record field.

#include <algorithm>
#include <array>

#include "grid/gridtables.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/numbers.h"

namespace {

using E = EditKind;

DesignClock &clockOf(RowSource &s) { return *controlCast<DesignClock>(&s.object); }

// Clock colours are shown without leading zeros ("&HFF" for red).
template <qint32 DesignClock::*Field>
QString readColour(RowSource &s) {
  return QStringLiteral("&H") +
         QString::number(static_cast<quint32>(clockOf(s).*Field), 16).toUpper();
}
template <bool DesignClock::*Field>
QString readFlag(RowSource &s) {
  return trueFalseText(clockOf(s).*Field);
}

// Each write reads the cell once, before any clock changes, then sets the
// value on every selected clock.
template <class Step>
int forClocks(EditContext &ctx, Step step) {
  forEachSelected(ctx.panel, {ControlKind::Clock}, [&](DesignControl &c, ControlRecord &r) {
    step(*controlCast<DesignClock>(&c), r);
  });
  return PanelEditor::Properties;
}

template <qint32 DesignClock::*Field>
int writeColour(EditContext &ctx) {
  const qint32 colour = colorValue(ctx.text);
  return forClocks(ctx, [&](DesignClock &clock, ControlRecord &) { clock.*Field = colour; });
}

template <bool DesignClock::*Field>
int writeFlag(EditContext &ctx) {
  const bool flag = cellBool(ctx.text);
  return forClocks(ctx, [&](DesignClock &clock, ControlRecord &) { clock.*Field = flag; });
}

// A digital clock's frame becomes a square around its smaller side.
int writeDigital(EditContext &ctx) {
  const bool flag = cellBool(ctx.text);
  forClocks(ctx, [&](DesignClock &clock, ControlRecord &r) {
    clock.digital = flag;
    if (ResizeFrame *frame = ctx.panel.model().frame(r.frameIndex))
      frame->width = frame->height = std::min(clock.width, clock.height) + 150;
  });
  return PanelEditor::Properties | PanelEditor::Geometry;
}

int writeFontName(EditContext &ctx) {
  return forClocks(ctx, [&](DesignClock &clock, ControlRecord &) { clock.fontName = ctx.text; });
}

int writeFontSize(EditContext &ctx) {
  const double size = cellFontSize(ctx.text);
  return forClocks(ctx, [&](DesignClock &clock, ControlRecord &) { clock.fontSize = size; });
}

int writeOffset(EditContext &ctx) {
  qint32 offset = 0;
  if (!readCellInt32(ctx.text, &offset)) throw GridEditError("not a time offset");
  return forClocks(ctx, [&](DesignClock &clock, ControlRecord &) { clock.offSet = offset; });
}

template <qint32 DesignClock::*Field>
constexpr GridRow colourRow(const char *label) {
  return {.label = label,
          .edit = E::Colour,
          .read = readColour<Field>,
          .write = writeColour<Field>,
          .cellButton = chooseColour,
          .colour = true};
}
template <bool DesignClock::*Field>
constexpr GridRow flagRow(const char *label) {
  return {.label = label,
          .edit = E::List,
          .list = &GridList::FalseTrue,
          .read = readFlag<Field>,
          .write = writeFlag<Field>};
}

using C = DesignClock;

constexpr auto kClockRows = controlRows(
    // The clock's name again, read-only (the Name row changes it).
    GridRow{.label = "Caption", .read = readControlName},
    std::array{
        colourRow<&C::backgroundColor>("BackColor"),
        colourRow<&C::foregroundColor>("ForeColor"),
        flagRow<&C::faceVisible>("FaceVisible"),
        GridRow{.label = "Digital",
                .edit = E::List,
                .list = &GridList::FalseTrue,
                .read = readFlag<&C::digital>,
                .write = writeDigital},
        flagRow<&C::military>("24 Hour"),
        GridRow{.label = "Background Picture",
                .edit = E::CellButton,
                .read = [](RowSource &s) { return clockOf(s).backGroundPicture; },
                .cellButton = chooseClockPicture},
        flagRow<&C::backgroundImageStretch>("Stretch Image"),
        GridRow{.label = "Font Name",
                .edit = E::CellButton,
                .read = [](RowSource &s) { return clockOf(s).fontName; },
                .write = writeFontName,
                .cellButton = chooseClockFont},
        GridRow{.label = "Font Size",
                .edit = E::Text,
                .read = [](RowSource &s) { return sizeText(clockOf(s).fontSize); },
                .write = writeFontSize},
        flagRow<&C::fontBold>("Font Bold"),
        flagRow<&C::fontUnderline>("Font Underline"),
        flagRow<&C::fontItalic>("Font Italic"),
        colourRow<&C::longHashColor>("Long Hash Color"),
        colourRow<&C::shortHashColor>("Short Hash Color"),
        colourRow<&C::faceBorderColor>("Face Border Color"),
        GridRow{.label = "Time Offset",
                .edit = E::Text,
                .read = [](RowSource &s) { return QString::number(clockOf(s).offSet); },
                .write = writeOffset},
        flagRow<&C::faceNumbers>("Face Numbers"),
        flagRow<&C::elementHands>("Element Hands"),
    });

}  // namespace

std::span<const GridRow> clockRowTable() { return kClockRows; }
