# Empty custom commands generated dependencies file for flash_bench_autogen.
# This may be replaced when dependencies are built.
