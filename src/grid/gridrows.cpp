#include "grid/gridrows.h"

#include <array>

#include "grid/gridtables.h"
#include "grid/propertygrid.h"
#include "model/names.h"

namespace {

struct KindName {
  GridKind kind;
  const char *text;
};
constexpr std::array kKindNames{
    KindName{GridKind::Main, "Main"},   KindName{GridKind::Button, "Button"},
    KindName{GridKind::Label, "Label"}, KindName{GridKind::WebBrowser, "WebBrowser"},
    KindName{GridKind::Meter, "Meter"}, KindName{GridKind::MeterFader, "MeterFader"},
    KindName{GridKind::Clock, "Clock"}, KindName{GridKind::Kept, "Kept"},
};

QString readUrl(RowSource &source) {
  // Showing a browser tells it to go to its address.
  auto *web = As<DesignWebBrowser>(&source.object);
  const QString &url = source.record->WebURL;
  if (web && !url.isEmpty() && web->LocationURL != url) {
    web->LocationURL = url;
    source.panel.notify(frmPanel::Properties);
  }
  return url;
}

int writeUrl(EditContext &ctx) {
  ForEachSelected(ctx.panel, {ControlKind::WebBrowser},
                  [&](DesignControl &c, clsControlDetails &r) {
                    r.WebURL = ctx.text;
                    if (!r.WebURL.isEmpty()) As<DesignWebBrowser>(&c)->LocationURL = r.WebURL;
                  });
  return frmPanel::Properties;
}

using E = EditKind;

constexpr auto kWebRows = ControlRows(
    SharedRow::EmptyCaption,
    std::array{GridRow{.label = "URL", .edit = E::Text, .read = readUrl, .write = writeUrl}});

}  // namespace

std::span<const GridRow> WebRowTable() { return kWebRows; }

QString ReadControlName(RowSource &source) { return source.object.Tag; }

int RenameControl(EditContext &ctx) {
  ctx.grid.setTextMatrix(CommonRow::Name, 1, CleanName(ctx.text));
  ctx.grid.LocName_AfterEdit(*ctx.record);
  return frmPanel::Properties;
}

std::span<const GridRow> GridRowTable(GridKind kind) {
  switch (kind) {
    case GridKind::Main:
      return MainRowTable();
    case GridKind::Button:
      return ButtonRowTable();
    case GridKind::Label:
      return LabelRowTable();
    case GridKind::WebBrowser:
      return WebRowTable();
    case GridKind::Meter:
      return MeterRowTable();
    case GridKind::MeterFader:
      return MeterFaderRowTable();
    case GridKind::Clock:
      return ClockRowTable();
    case GridKind::Kept:
      return KeptRowTable();
    case GridKind::None:
      break;
  }
  return {};
}

const GridRow *GridRowOf(GridKind kind, int row) {
  const auto rows = GridRowTable(kind);
  if (row < 0 || row >= static_cast<int>(rows.size())) return nullptr;
  return &rows[row];
}

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

int GridRowCount(GridKind kind) { return static_cast<int>(GridRowTable(kind).size()); }

QString GridRowLabel(GridKind kind, int row) {
  const GridRow *gridRow = GridRowOf(kind, row);
  return gridRow ? QString::fromLatin1(gridRow->label) : QString();
}

EditKind GridRowEditKind(GridKind kind, int row) {
  const GridRow *gridRow = GridRowOf(kind, row);
  return gridRow ? gridRow->edit : EditKind::ReadOnly;
}

QString GridRowList(GridKind kind, int row) {
  const GridRow *gridRow = GridRowOf(kind, row);
  return gridRow && gridRow->list ? *gridRow->list : QString();
}

bool IsColourRow(GridKind kind, int row) {
  const GridRow *gridRow = GridRowOf(kind, row);
  return gridRow && gridRow->colour;
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
