#pragma once

// The row tables of each kind (one file per kind) and the rows every
// control kind shares. Not used outside grid/.

#include <span>

#include "grid/gridrows.h"
#include "grid/gridsupport.h"

std::span<const GridRowSpec> MainRowSpecs();
std::span<const GridRowSpec> ButtonRowSpecs();
std::span<const GridRowSpec> LabelRowSpecs();
std::span<const GridRowSpec> WebRowSpecs();
std::span<const GridRowSpec> MeterRowSpecs();
std::span<const GridRowSpec> MeterFaderRowSpecs();
std::span<const GridRowSpec> ClockRowSpecs();

// Reads of the rows every control shows.
QString ReadControlName(RowSource &source);
QString ReadControlWidth(RowSource &source);
QString ReadControlHeight(RowSource &source);
QString ReadControlTop(RowSource &source);
QString ReadControlLeft(RowSource &source);

// Rows 0-7 as most control kinds show them; the caption row differs by kind.
namespace SharedRow {
using E = EditKind;
inline constexpr GridRowSpec Header{.label = "Property Name"};
inline constexpr GridRowSpec Type{.label = "Type"};  // the kind text, written with the labels
inline constexpr GridRowSpec Name{
    .label = "Name", .edit = E::Text, .read = ReadControlName, .write = RenameControl};
inline constexpr GridRowSpec Width{
    .label = "Width", .edit = E::Text, .read = ReadControlWidth, .write = ApplyGeometryRow};
inline constexpr GridRowSpec Height{
    .label = "Height", .edit = E::Text, .read = ReadControlHeight, .write = ApplyGeometryRow};
inline constexpr GridRowSpec Top{
    .label = "Top", .edit = E::Text, .read = ReadControlTop, .write = ApplyGeometryRow};
inline constexpr GridRowSpec Left{
    .label = "Left", .edit = E::Text, .read = ReadControlLeft, .write = ApplyGeometryRow};
}  // namespace SharedRow
