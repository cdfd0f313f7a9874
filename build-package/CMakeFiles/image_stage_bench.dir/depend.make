# Empty dependencies file for image_stage_bench.
# This may be replaced when dependencies are built.
