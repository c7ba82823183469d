# Dragging a large selection on a panel window.
tessary_bench(surface surface_bench.cpp tessary_surface Qt6::Gui)
