# Empty dependencies file for flash_bench.
# This may be replaced when dependencies are built.
