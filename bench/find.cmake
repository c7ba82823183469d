# Edit > Find over closed panel files.
tessary_bench(find find_bench.cpp tessary_app Qt6::Gui)
