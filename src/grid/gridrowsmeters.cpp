// The rows of meters and meter-faders.

#include <array>

#include "grid/gridtables.h"
#include "grid/propertygrid.h"
#include "model/colors.h"
#include "model/numbers.h"

namespace {

using R = ControlRecord;
using E = EditKind;
constexpr KindSet kMeters{ControlKind::Meter, ControlKind::MeterFader};
constexpr KindSet kFaders{ControlKind::MeterFader};

MeterSettings &meterOf(DesignControl &control) {
  if (auto *meter = controlCast<DesignMeter>(&control)) return meter->meter;
  return controlCast<DesignMeterFader>(&control)->meter;
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
  switch (s.record->meterScale) {
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
  forEachSelected(ctx.panel, kinds, [&](DesignControl &c, R &r) { step(meterOf(c), r, c); });
  return PanelEditor::Properties;
}

int writeSourceDest(EditContext &ctx) {
  const bool source = ctx.text.toLower() != u"destination";
  return forMeters(ctx, kMeters,
                   [&](MeterSettings &, R &r, DesignControl &) { r.meterIsSource = source; });
}

template <qint32 R::*Field>
int writeNumber(EditContext &ctx) {
  qint32 n = 0;
  if (!readCellInt32(ctx.text, &n)) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &, R &r, DesignControl &) { r.*Field = n; });
}

int writeScale(EditContext &ctx) {
  const int code = listIndex(ctx.text, {"linear", "standard", "british"});
  if (code < 0) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.meterScale = m.meterScale = code;
  });
}

int writeStyle(EditContext &ctx) {
  const int code = listIndex(ctx.text, {"led", "gradient"});
  if (code < 0) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.meterStyle = m.meterStyle = code;
  });
}

int writeLineColour(EditContext &ctx) {
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.levelLineColor = storedColorText(ctx.text);
    m.levelLineColor = colorValue(ctx.text);
  });
}

int writeDecayRate(EditContext &ctx) {
  qint16 n = 0;
  if (!readCellInt16(ctx.text, &n)) return 0;
  return forMeters(ctx, kMeters,
                   [&](MeterSettings &m, R &r, DesignControl &) { r.decayRate = m.decayRate = n; });
}

int writeCenterPad(EditContext &ctx) {
  qint16 pad = 0;
  if (!readCellInt16(ctx.text, &pad)) return 0;
  return forMeters(ctx, kMeters, [&](MeterSettings &m, R &r, DesignControl &) {
    r.centerPad = m.centerPad = pad;
  });
}

int writeFaderNominal(EditContext &ctx) {
  double nominal = 0;
  if (!readCellNumber(ctx.text, &nominal)) return 0;
  return forMeters(ctx, kFaders, [&](MeterSettings &, R &r, DesignControl &c) {
    r.faderNominal = controlCast<DesignMeterFader>(&c)->faderNominal = static_cast<float>(nominal);
  });
}

int writeHideGainValue(EditContext &ctx) {
  const bool hide = ctx.text.toLower() == u"true";
  return forMeters(ctx, kFaders, [&](MeterSettings &, R &r, DesignControl &c) {
    r.hideGainValue = controlCast<DesignMeterFader>(&c)->hideGainValue = hide;
  });
}

int writeFaderCaption(EditContext &ctx) {
  ctx.grid.captionEdited(*ctx.record);
  return PanelEditor::Properties;
}

namespace Row {
constexpr GridRow SourceDest{.label = "Source/Dest",
                             .edit = E::List,
                             .list = &GridList::SourceDest,
                             .read =
                                 [](RowSource &s) {
                                   return s.record->meterIsSource ? QStringLiteral("Source")
                                                                  : QStringLiteral("Destination");
                                 },
                             .write = writeSourceDest};
constexpr GridRow RouterNumber{
    .label = "Router Number",
    .edit = E::Text,
    .read = [](RowSource &s) { return QString::number(s.record->meterRouterNumber); },
    .write = writeNumber<&R::meterRouterNumber>};
constexpr GridRow IONumber{
    .label = "IO Number",
    .edit = E::Text,
    .read = [](RowSource &s) { return QString::number(s.record->meterIONumber); },
    .write = writeNumber<&R::meterIONumber>};
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
                              return s.record->meterStyle == 0 ? QStringLiteral("Led")
                                                               : QStringLiteral("Gradient");
                            },
                        .write = writeStyle};
constexpr GridRow LineColor{.label = "Line Color",
                            .edit = E::Colour,
                            .read = recordText<&R::levelLineColor>,
                            .write = writeLineColour,
                            .cellButton = chooseColour,
                            .colour = true};
constexpr GridRow DecayRate{
    .label = "Decay Rate",
    .edit = E::Text,
    .read = [](RowSource &s) { return QString::number(s.record->decayRate); },
    .write = writeDecayRate};
}  // namespace Row

// Rows 8-14 of both kinds.
constexpr std::array kMeterOwnRows{Row::SourceDest, Row::RouterNumber, Row::IONumber, Row::Scale,
                                   Row::Style,      Row::LineColor,    Row::DecayRate};

constexpr auto kMeterRows = controlRows(
    SharedRow::EmptyCaption,
    joinRows(kMeterOwnRows,
             std::array{
                 GridRow{.label = "Center Pad",
                         .edit = E::Text,
                         .read = [](RowSource &s) { return QString::number(s.record->centerPad); },
                         .write = writeCenterPad}}));

constexpr auto kMeterFaderRows = controlRows(
    GridRow{.label = "Caption",
            .edit = E::Text,
            .read =
                [](RowSource &s) {
                  return captionToCell(controlCast<DesignMeterFader>(&s.object)->meterName);
                },
            .write = writeFaderCaption},
    joinRows(
        kMeterOwnRows,
        std::array{
            GridRow{.label = "Fader Nominal",
                    .edit = E::Text,
                    .read = [](RowSource &s) { return floatToText(s.record->faderNominal); },
                    .write = writeFaderNominal},
            GridRow{.label = "Hide Gain Value",
                    .edit = E::List,
                    .list = &GridList::TrueFalse,
                    .read = [](RowSource &s) { return trueFalseText(s.record->hideGainValue); },
                    .write = writeHideGainValue},
        }));

}  // namespace

std::span<const GridRow> meterRowTable() { return kMeterRows; }
std::span<const GridRow> meterFaderRowTable() { return kMeterFaderRows; }
