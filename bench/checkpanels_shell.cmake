# Check Panels over closed panel files as the main window runs it.
tessary_bench(checkpanels_shell checkpanels_shell_bench.cpp tessary_ui)
