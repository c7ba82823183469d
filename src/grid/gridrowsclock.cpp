// The rows of a clock. Every value is the clock's own property, not a
// record field.

#include <algorithm>
#include <array>

#include "grid/gridtables.h"
#include "grid/propertygrid.h"
#include "model/colors.h"

namespace {

using E = EditKind;

DesignClock &clockOf(RowSource &s) { return *As<DesignClock>(&s.object); }

// Clock colours are shown without leading zeros ("&HFF" for red).
template <qint32 DesignClock::*Field>
QString readColour(RowSource &s) {
  return QStringLiteral("&H") +
         QString::number(static_cast<quint32>(clockOf(s).*Field), 16).toUpper();
}
template <bool DesignClock::*Field>
QString readFlag(RowSource &s) {
  return BoolText(clockOf(s).*Field);
}

// Each write reads the cell once, before any clock changes, then sets the
// value on every selected clock.
template <class Step>
int forClocks(EditContext &ctx, Step step) {
  ForEachSelected(ctx.panel, {ControlKind::Clock},
                  [&](DesignControl &c, clsControlDetails &r) { step(*As<DesignClock>(&c), r); });
  return frmPanel::Properties;
}

template <qint32 DesignClock::*Field>
int writeColour(EditContext &ctx) {
  const qint32 colour = GetColorValue(ctx.text);
  return forClocks(ctx, [&](DesignClock &clock, clsControlDetails &) { clock.*Field = colour; });
}

template <bool DesignClock::*Field>
int writeFlag(EditContext &ctx) {
  const bool flag = CellBool(ctx.text);
  return forClocks(ctx, [&](DesignClock &clock, clsControlDetails &) { clock.*Field = flag; });
}

// A digital clock's frame becomes a square around its smaller side.
int writeDigital(EditContext &ctx) {
  const bool flag = CellBool(ctx.text);
  forClocks(ctx, [&](DesignClock &clock, clsControlDetails &r) {
    clock.Digital = flag;
    if (ResizeFrame *frame = ctx.panel.model().Frame(r.lngPictResizeIndex))
      frame->Width = frame->Height = std::min(clock.Width, clock.Height) + 150;
  });
  return frmPanel::Properties | frmPanel::Geometry;
}

int writeFontName(EditContext &ctx) {
  return forClocks(ctx,
                   [&](DesignClock &clock, clsControlDetails &) { clock.FontName = ctx.text; });
}

int writeFontSize(EditContext &ctx) {
  const double size = CellFontSize(ctx.text);
  return forClocks(ctx, [&](DesignClock &clock, clsControlDetails &) { clock.FontSize = size; });
}

int writeOffset(EditContext &ctx) {
  qint32 offset = 0;
  if (!ReadCellInt32(ctx.text, &offset)) throw GridEditError("not a time offset");
  return forClocks(ctx, [&](DesignClock &clock, clsControlDetails &) { clock.OffSet = offset; });
}

template <qint32 DesignClock::*Field>
constexpr GridRow colourRow(const char *label) {
  return {.label = label,
          .edit = E::Colour,
          .read = readColour<Field>,
          .write = writeColour<Field>,
          .cellButton = ChooseColour,
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

constexpr auto kClockRows = ControlRows(
    // The clock's name again; typing changes nothing.
    GridRow{.label = "Caption", .edit = E::Text, .read = ReadControlName},
    std::array{
        colourRow<&C::BackgroundColor>("BackColor"),
        colourRow<&C::ForegroundColor>("ForeColor"),
        flagRow<&C::FaceVisible>("FaceVisible"),
        GridRow{.label = "Digital",
                .edit = E::List,
                .list = &GridList::FalseTrue,
                .read = readFlag<&C::Digital>,
                .write = writeDigital},
        flagRow<&C::Military>("24 Hour"),
        GridRow{.label = "Background Picture",
                .edit = E::CellButton,
                .read = [](RowSource &s) { return clockOf(s).BackGroundPicture; },
                .cellButton = ChooseClockPicture},
        flagRow<&C::BackgroundImageStretch>("Stretch Image"),
        GridRow{.label = "Font Name",
                .edit = E::CellButton,
                .read = [](RowSource &s) { return clockOf(s).FontName; },
                .write = writeFontName,
                .cellButton = ChooseClockFont},
        GridRow{.label = "Font Size",
                .edit = E::Text,
                .read = [](RowSource &s) { return SizeText(clockOf(s).FontSize); },
                .write = writeFontSize},
        flagRow<&C::FontBold>("Font Bold"),
        flagRow<&C::FontUnderline>("Font Underline"),
        flagRow<&C::FontItalic>("Font Italic"),
        colourRow<&C::LongHashColor>("Long Hash Color"),
        colourRow<&C::ShortHashColor>("Short Hash Color"),
        colourRow<&C::FaceBorderColor>("Face Border Color"),
        GridRow{.label = "Time Offset",
                .edit = E::Text,
                .read = [](RowSource &s) { return QString::number(clockOf(s).OffSet); },
                .write = writeOffset},
        flagRow<&C::FaceNumbers>("Face Numbers"),
        flagRow<&C::ElementHands>("Element Hands"),
    });

}  // namespace

std::span<const GridRow> ClockRowTable() { return kClockRows; }
