# Repainting a zoomed canvas of a large panel.
tessary_bench(canvas canvas_bench.cpp tessary_ui)
