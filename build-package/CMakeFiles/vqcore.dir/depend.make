# Empty dependencies file for vqcore.
# This may be replaced when dependencies are built.
