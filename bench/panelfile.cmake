# Opening and saving large panels. pugixml is the yardstick of the budgets
# and is used by this benchmark only.
find_package(pugixml REQUIRED)
tessary_bench(panelfile panelfile_bench.cpp tessary_surface pugixml::pugixml Qt6::Gui)
