# Empty dependencies file for vq-update.
# This may be replaced when dependencies are built.
