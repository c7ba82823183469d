# Opening a large panel in the real shell against the core's opening.
tessary_bench(panelfile_shell panelfile_shell_bench.cpp tessary_ui)
