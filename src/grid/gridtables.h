#pragma once

// The row tables of each kind (one file per kind) and the rows every
// control kind shares. Not used outside grid/.

#include <array>
#include <span>

#include "grid/gridrows.h"
#include "grid/gridsupport.h"

std::span<const GridRow> mainRowTable();
std::span<const GridRow> buttonRowTable();
std::span<const GridRow> labelRowTable();
std::span<const GridRow> webRowTable();
std::span<const GridRow> meterRowTable();
std::span<const GridRow> meterFaderRowTable();
std::span<const GridRow> clockRowTable();
std::span<const GridRow> keptRowTable();

QString readControlName(RowSource &source);

// Width, Height, Top and Left of a control, and of every selected control
// with its frame.
template <qint32 DesignControl::*Field>
QString readGeometry(RowSource &source) {
  return QString::number(static_cast<DesignControl &>(source.object).*Field);
}
template <qint32 DesignControl::*Field>
int writeGeometry(EditContext &ctx) {
  qint32 value = 0;
  if (!readCellInt32(ctx.text, &value)) return 0;  // not a number: nothing changes
  constexpr bool size = Field == &DesignControl::width || Field == &DesignControl::height;
  if (size && value < 0) throw GridEditError("negative size");
  forEachSelected(ctx.panel, KindSet::all(), [&](DesignControl &control, ControlRecord &) {
    control.*Field = value;
    placeFrame(ctx.panel, control);
  });
  return PanelEditor::Geometry;
}

// Rows every kind shares.
namespace SharedRow {
using E = EditKind;
inline constexpr GridRow Header{.label = "Property Name"};
inline constexpr GridRow Type{.label = "Type"};  // the kind text, written with the labels
inline constexpr GridRow Name{
    .label = "Name", .edit = E::Text, .read = readControlName, .write = renameControl};
// A caption row that shows nothing and takes no change: read-only, so that
// it does not look as if it took typing.
inline constexpr GridRow EmptyCaption{.label = "Caption"};

template <qint32 DesignControl::*Field>
constexpr GridRow geometry(const char *label) {
  return {
      .label = label, .edit = E::Text, .read = readGeometry<Field>, .write = writeGeometry<Field>};
}
}  // namespace SharedRow

// A typed record text, shown as it is and stored in the record of every
// selected control of the given kinds.
template <QString ControlRecord::*Field, KindSet Kinds>
constexpr GridRow recordTextRow(const char *label) {
  return {.label = label,
          .edit = EditKind::Text,
          .read = recordText<Field>,
          .write = storeRecordText<Field, Kinds>};
}

template <std::size_t N, std::size_t M>
constexpr std::array<GridRow, N + M> joinRows(const std::array<GridRow, N> &first,
                                              const std::array<GridRow, M> &second) {
  std::array<GridRow, N + M> rows{};
  for (std::size_t i = 0; i < N; ++i) rows[i] = first[i];
  for (std::size_t i = 0; i < M; ++i) rows[N + i] = second[i];
  return rows;
}

// The rows of a control kind: rows 0-7 (header, type, name, the kind's
// caption row, width, height, top, left), then the kind's own from row 8.
template <std::size_t N>
constexpr std::array<GridRow, 8 + N> controlRows(const GridRow &caption,
                                                 const std::array<GridRow, N> &own) {
  using D = DesignControl;
  return joinRows(
      std::array{SharedRow::Header, SharedRow::Type, SharedRow::Name, caption,
                 SharedRow::geometry<&D::width>("Width"), SharedRow::geometry<&D::height>("Height"),
                 SharedRow::geometry<&D::top>("Top"), SharedRow::geometry<&D::left>("Left")},
      own);
}
