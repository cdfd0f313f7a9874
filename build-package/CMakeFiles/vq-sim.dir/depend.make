# Empty dependencies file for vq-sim.
# This may be replaced when dependencies are built.
