// The rows of meters and meter-faders.

#include <array>

#include "grid/gridtables.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/numbers.h"

namespace {

using R = clsControlDetails;
using E = EditKind;
constexpr KindSet kMeters{ControlKind::Meter, ControlKind::MeterFader};
constexpr KindSet kFaders{ControlKind::MeterFader};

MeterSettings &meterOf(DesignControl &control) {
  if (auto *meter = As<DesignMeter>(&control)) return meter->Meter;
  return As<DesignMeterFader>(&control)->Meter;
}

// The code of a list entry, or -1 for text that is none of them.
int listIndex(const QString &text, std::initializer_list<const char *> entries) {
  const QString lower = text.trimmed().toLower();
  int i = 0;
  for (const char *entry : entries) {
    if (lower == QLatin1String(entry)) return i;
    ++i;
  }
  return -1;
}

QString readScale(RowSource &s) {
  switch (s.record->MeterScale) {
    case 1:
      return QStringLiteral("Standard");
    case 2:
      return QStringLiteral("British");
    default:
      return QStringLiteral("Linear");
  }
}

// Each step below applies to every selected meter and meter-fader (or, for
// the fader's own rows, every selected meter-fader).
template <class Step>
int forMeters(EditContext &ctx, KindSet kinds, Step step) {
  ForEachSelected(ctx.panel, kinds, [&](DesignControl &c, R &r) { step(meterOf(c), r, c); });
  return frmPanel::Properties;
}

int writeSourceDest(EditContext &ctx) {
  const bool source = ctx.text.toLower() != u"destination";
  return forMeters(ctx, kMeters,
                   [&](MeterSettings &, R &r, DesignControl &) { r.MeterIsSource = source; });
}

template <qint32 R::*Field>
int writeNumber(EditContext &ctx) {
  qint32 n = 0;
  if (!ReadCellInt32(ctx.text, &n)) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &, R &r, DesignControl &) { r.*Field = n; });
}

int writeScale(EditContext &ctx) {
  const int code = listIndex(ctx.text, {"linear", "standard", "british"});
  if (code < 0) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.MeterScale = m.MeterScale = code;
  });
}

int writeStyle(EditContext &ctx) {
  const int code = listIndex(ctx.text, {"led", "gradient"});
  if (code < 0) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.MeterStyle = m.MeterStyle = code;
  });
}

int writeLineColour(EditContext &ctx) {
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.LevelLineColor = StoredColorText(ctx.text);
    m.LevelLineColor = GetColorValue(ctx.text);
  });
}

int writeDecayRate(EditContext &ctx) {
  qint16 n = 0;
  if (!ReadCellInt16(ctx.text, &n)) return 0;
  return forMeters(ctx, kMeters,
                   [&](MeterSettings &m, R &r, DesignControl &) { r.DecayRate = m.DecayRate = n; });
}

int writeCenterPad(EditContext &ctx) {
  qint16 pad = 0;
  if (!ReadCellInt16(ctx.text, &pad)) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.CenterPad = m.CenterPad = pad;
  });
}

int writeFaderNominal(EditContext &ctx) {
  double nominal = 0;
  if (!ReadCellNumber(ctx.text, &nominal)) return 0;
  return forMeters(ctx, kFaders, [&](MeterSettings &, R &r, DesignControl &c) {
    r.FaderNominal = As<DesignMeterFader>(&c)->FaderNominal = static_cast<float>(nominal);
  });
}

int writeHideGainValue(EditContext &ctx) {
  const bool hide = ctx.text.toLower() == u"true";
  return forMeters(ctx, kFaders, [&](MeterSettings &, R &r, DesignControl &c) {
    r.HideGainValue = As<DesignMeterFader>(&c)->HideGainValue = hide;
  });
}

int writeFaderCaption(EditContext &ctx) {
  ctx.grid.LocCaption_AfterEdit(*ctx.record);
  return frmPanel::Properties;
}

namespace Row {
constexpr GridRow SourceDest{.label = "Source/Dest",
                             .edit = E::List,
                             .list = &GridList::SourceDest,
                             .read =
                                 [](RowSource &s) {
                                   return s.record->MeterIsSource ? QStringLiteral("Source")
                                                                  : QStringLiteral("Destination");
                                 },
                             .write = writeSourceDest};
constexpr GridRow RouterNumber{
    .label = "Router Number",
    .edit = E::Text,
    .read = [](RowSource &s) { return QString::number(s.record->MeterRouterNumber); },
    .write = writeNumber<&R::MeterRouterNumber>};
constexpr GridRow IONumber{
    .label = "IO Number",
    .edit = E::Text,
    .read = [](RowSource &s) { return QString::number(s.record->MeterIONumber); },
    .write = writeNumber<&R::MeterIONumber>};
constexpr GridRow Scale{.label = "Scale",
                        .edit = E::List,
                        .list = &GridList::Scale,
                        .read = readScale,
                        .write = writeScale};
constexpr GridRow Style{.label = "Style",
                        .edit = E::List,
                        .list = &GridList::Style,
                        .read =
                            [](RowSource &s) {
                              return s.record->MeterStyle == 0 ? QStringLiteral("Led")
                                                               : QStringLiteral("Gradient");
                            },
                        .write = writeStyle};
constexpr GridRow LineColor{.label = "Line Color",
                            .edit = E::Colour,
                            .read = RecordText<&R::LevelLineColor>,
                            .write = writeLineColour,
                            .cellButton = ChooseColour,
                            .colour = true};
constexpr GridRow DecayRate{
    .label = "Decay Rate",
    .edit = E::Text,
    .read = [](RowSource &s) { return QString::number(s.record->DecayRate); },
    .write = writeDecayRate};
}  // namespace Row

// Rows 8-14 of both kinds.
constexpr std::array kMeterOwnRows{Row::SourceDest, Row::RouterNumber, Row::IONumber, Row::Scale,
                                   Row::Style,      Row::LineColor,    Row::DecayRate};

constexpr auto kMeterRows = ControlRows(
    SharedRow::EmptyCaption,
    JoinRows(kMeterOwnRows,
             std::array{
                 GridRow{.label = "Center Pad",
                         .edit = E::Text,
                         .read = [](RowSource &s) { return QString::number(s.record->CenterPad); },
                         .write = writeCenterPad}}));

constexpr auto kMeterFaderRows = ControlRows(
    GridRow{
        .label = "Caption",
        .edit = E::Text,
        .read =
            [](RowSource &s) { return CaptionToCell(As<DesignMeterFader>(&s.object)->MeterName); },
        .write = writeFaderCaption},
    JoinRows(kMeterOwnRows,
             std::array{
                 GridRow{.label = "Fader Nominal",
                         .edit = E::Text,
                         .read = [](RowSource &s) { return FloatToText(s.record->FaderNominal); },
                         .write = writeFaderNominal},
                 GridRow{.label = "Hide Gain Value",
                         .edit = E::List,
                         .list = &GridList::TrueFalse,
                         .read = [](RowSource &s) { return BoolText(s.record->HideGainValue); },
                         .write = writeHideGainValue},
             }));

}  // namespace

std::span<const GridRow> MeterRowTable() { return kMeterRows; }
std::span<const GridRow> MeterFaderRowTable() { return kMeterFaderRows; }
