# Empty custom commands generated dependencies file for vq-sim_autogen.
# This may be replaced when dependencies are built.
