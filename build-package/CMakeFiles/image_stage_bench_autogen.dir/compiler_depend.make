# Empty custom commands generated dependencies file for image_stage_bench_autogen.
# This may be replaced when dependencies are built.
