// The rows of a kept control: its type and name as its text holds them, and
// its geometry, the only values of it that can be changed here.

#include <array>

#include "grid/gridtables.h"

namespace {

constexpr std::array kKeptRows{
    SharedRow::Header,
    GridRow{.label = "Type",
            .read = [](RowSource &s) { return TypeName(static_cast<DesignControl &>(s.object)); }},
    GridRow{.label = "Name", .read = ReadControlName},
    GridRow{.label = "Caption"},
    SharedRow::geometry<&DesignControl::Width>("Width"),
    SharedRow::geometry<&DesignControl::Height>("Height"),
    SharedRow::geometry<&DesignControl::Top>("Top"),
    SharedRow::geometry<&DesignControl::Left>("Left"),
};

}  // namespace

std::span<const GridRow> KeptRowTable() { return kKeptRows; }
