# Undo and redo of a large move, and the memory of many steps.
tessary_bench(undo undo_bench.cpp tessary_surface Qt6::Gui)
