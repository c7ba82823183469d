# Refilling the property grid.
tessary_bench(grid grid_bench.cpp tessary_grid Qt6::Gui)
