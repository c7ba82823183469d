# Start-up to a shown main window.
tessary_bench(startup startup_bench.cpp tessary_ui)
