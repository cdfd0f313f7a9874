# Empty dependencies file for vqvirtual.
# This may be replaced when dependencies are built.
