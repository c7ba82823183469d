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
  auto *web = controlCast<DesignWebBrowser>(&source.object);
  const QString &url = source.record->webURL;
  if (web && !url.isEmpty() && web->locationURL != url) {
    web->locationURL = url;
    source.panel.notify(PanelEditor::Properties);
  }
  return url;
}

int writeUrl(EditContext &ctx) {
  forEachSelected(ctx.panel, {ControlKind::WebBrowser}, [&](DesignControl &c, ControlRecord &r) {
    r.webURL = ctx.text;
    if (!r.webURL.isEmpty()) controlCast<DesignWebBrowser>(&c)->locationURL = r.webURL;
  });
  return PanelEditor::Properties;
}

using E = EditKind;

constexpr auto kWebRows = controlRows(
    SharedRow::EmptyCaption,
    std::array{GridRow{.label = "URL", .edit = E::Text, .read = readUrl, .write = writeUrl}});

}  // namespace

std::span<const GridRow> webRowTable() { return kWebRows; }

QString readControlName(RowSource &source) { return source.object.tag; }

int renameControl(EditContext &ctx) {
  ctx.grid.setTextMatrix(CommonRow::Name, 1, cleanName(ctx.text));
  ctx.grid.nameEdited(*ctx.record);
  return PanelEditor::Properties;
}

std::span<const GridRow> gridRowTable(GridKind kind) {
  switch (kind) {
    case GridKind::Main:
      return mainRowTable();
    case GridKind::Button:
      return buttonRowTable();
    case GridKind::Label:
      return labelRowTable();
    case GridKind::WebBrowser:
      return webRowTable();
    case GridKind::Meter:
      return meterRowTable();
    case GridKind::MeterFader:
      return meterFaderRowTable();
    case GridKind::Clock:
      return clockRowTable();
    case GridKind::Kept:
      return keptRowTable();
    case GridKind::None:
      break;
  }
  return {};
}

const GridRow *gridRowOf(GridKind kind, int row) {
  const auto rows = gridRowTable(kind);
  if (row < 0 || row >= static_cast<int>(rows.size())) return nullptr;
  return &rows[row];
}

QString gridKindText(GridKind kind) {
  for (const auto &k : kKindNames)
    if (k.kind == kind) return QLatin1String(k.text);
  return QString();
}

GridKind gridKindFromText(const QString &text) {
  for (const auto &k : kKindNames)
    if (text.compare(QLatin1String(k.text), Qt::CaseInsensitive) == 0) return k.kind;
  return GridKind::None;
}

GridKind gridKindFromHeaderName(const QString &name) {
  if (name == QLatin1String("WebControl")) return GridKind::WebBrowser;
  if (name == QLatin1String("WebBrowser")) return GridKind::None;
  for (const auto &k : kKindNames)
    if (name == QLatin1String(k.text)) return k.kind;
  return GridKind::None;
}

int gridRowCount(GridKind kind) { return static_cast<int>(gridRowTable(kind).size()); }

QString gridRowLabel(GridKind kind, int row) {
  const GridRow *gridRow = gridRowOf(kind, row);
  return gridRow ? QString::fromLatin1(gridRow->label) : QString();
}

EditKind gridRowEditKind(GridKind kind, int row) {
  const GridRow *gridRow = gridRowOf(kind, row);
  return gridRow ? gridRow->edit : EditKind::ReadOnly;
}

QString gridRowList(GridKind kind, int row) {
  const GridRow *gridRow = gridRowOf(kind, row);
  return gridRow && gridRow->list ? *gridRow->list : QString();
}

bool isColourRow(GridKind kind, int row) {
  const GridRow *gridRow = gridRowOf(kind, row);
  return gridRow && gridRow->colour;
}

HardwareRows hardwareRowsOf(GridKind kind) {
  if (kind == GridKind::Button)
    return {ButtonRow::MapType,     ButtonRow::HostIP, ButtonRow::HostPort, ButtonRow::InternalName,
            ButtonRow::MappingCode, ButtonRow::Module, ButtonRow::Pin};
  if (kind == GridKind::Label)
    return {LabelRow::MapType,     LabelRow::HostIP, LabelRow::HostPort, LabelRow::InternalName,
            LabelRow::MappingCode, LabelRow::Module, LabelRow::Pin};
  return {};
}
