# Opening many small panels one after another in the shell.
tessary_bench(panelwindows panelwindows_bench.cpp tessary_ui)
