# Empty custom commands generated dependencies file for update_bench_autogen.
# This may be replaced when dependencies are built.
