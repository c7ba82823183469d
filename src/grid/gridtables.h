#pragma once

// The row tables of each kind (one file per kind) and the rows every
// control kind shares. Not used outside grid/.

#include <array>
#include <span>

#include "grid/gridrows.h"
#include "grid/gridsupport.h"

std::span<const GridRow> MainRowTable();
std::span<const GridRow> ButtonRowTable();
std::span<const GridRow> LabelRowTable();
std::span<const GridRow> WebRowTable();
std::span<const GridRow> MeterRowTable();
std::span<const GridRow> MeterFaderRowTable();
std::span<const GridRow> ClockRowTable();
std::span<const GridRow> KeptRowTable();

QString ReadControlName(RowSource &source);

// Width, Height, Top and Left of a control, and of every selected control
// with its frame.
template <qint32 DesignControl::*Field>
QString ReadGeometry(RowSource &source) {
  return QString::number(static_cast<DesignControl &>(source.object).*Field);
}
template <qint32 DesignControl::*Field>
int WriteGeometry(EditContext &ctx) {
  qint32 value = 0;
  if (!ReadCellInt32(ctx.text, &value)) return 0;  // not a number: nothing changes
  constexpr bool size = Field == &DesignControl::Width || Field == &DesignControl::Height;
  if (size && value < 0) throw GridEditError("negative size");
  ForEachSelected(ctx.panel, KindSet::All(), [&](DesignControl &control, clsControlDetails &) {
    control.*Field = value;
    PlaceFrame(ctx.panel, control);
  });
  return frmPanel::Geometry;
}

// Rows every kind shares.
namespace SharedRow {
using E = EditKind;
inline constexpr GridRow Header{.label = "Property Name"};
inline constexpr GridRow Type{.label = "Type"};  // the kind text, written with the labels
inline constexpr GridRow Name{
    .label = "Name", .edit = E::Text, .read = ReadControlName, .write = RenameControl};
// A caption row that shows nothing and takes no change.
inline constexpr GridRow EmptyCaption{.label = "Caption", .edit = E::Text};

template <qint32 DesignControl::*Field>
constexpr GridRow geometry(const char *label) {
  return {
      .label = label, .edit = E::Text, .read = ReadGeometry<Field>, .write = WriteGeometry<Field>};
}
}  // namespace SharedRow

// A typed record text, shown as it is and stored in the record of every
// selected control of the given kinds.
template <QString clsControlDetails::*Field, KindSet Kinds>
constexpr GridRow RecordTextRow(const char *label) {
  return {.label = label,
          .edit = EditKind::Text,
          .read = RecordText<Field>,
          .write = StoreRecordText<Field, Kinds>};
}

template <std::size_t N, std::size_t M>
constexpr std::array<GridRow, N + M> JoinRows(const std::array<GridRow, N> &first,
                                              const std::array<GridRow, M> &second) {
  std::array<GridRow, N + M> rows{};
  for (std::size_t i = 0; i < N; ++i) rows[i] = first[i];
  for (std::size_t i = 0; i < M; ++i) rows[N + i] = second[i];
  return rows;
}

// The rows of a control kind: rows 0-7 (header, type, name, the kind's
// caption row, width, height, top, left), then the kind's own from row 8.
template <std::size_t N>
constexpr std::array<GridRow, 8 + N> ControlRows(const GridRow &caption,
                                                 const std::array<GridRow, N> &own) {
  using D = DesignControl;
  return JoinRows(
      std::array{SharedRow::Header, SharedRow::Type, SharedRow::Name, caption,
                 SharedRow::geometry<&D::Width>("Width"), SharedRow::geometry<&D::Height>("Height"),
                 SharedRow::geometry<&D::Top>("Top"), SharedRow::geometry<&D::Left>("Left")},
      own);
}
