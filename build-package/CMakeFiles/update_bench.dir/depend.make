# Empty dependencies file for update_bench.
# This may be replaced when dependencies are built.
