# Empty dependencies file for vqqt.
# This may be replaced when dependencies are built.
