# Receiving a large panel from the server in small pieces.
tessary_bench(server server_bench.cpp tessary_server Qt6::Gui)
