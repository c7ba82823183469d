// The rows of a kept control: its type and name as its text holds them, and
// its geometry, the only values of it that can be changed here.

#include <array>

#include "grid/gridtables.h"

namespace {

constexpr std::array kKeptRows{
    SharedRow::Header,
    GridRow{.label = "Type",
            .read = [](RowSource &s) { return typeName(static_cast<DesignControl &>(s.object)); }},
    GridRow{.label = "Name", .read = readControlName},
    GridRow{.label = "Caption"},
    SharedRow::geometry<&DesignControl::width>("Width"),
    SharedRow::geometry<&DesignControl::height>("Height"),
    SharedRow::geometry<&DesignControl::top>("Top"),
    SharedRow::geometry<&DesignControl::left>("Left"),
};

}  // namespace

std::span<const GridRow> keptRowTable() { return kKeptRows; }
