# A previewed panel of live meters: the share of one core it takes.
tessary_bench(preview preview_bench.cpp tessary_ui)
