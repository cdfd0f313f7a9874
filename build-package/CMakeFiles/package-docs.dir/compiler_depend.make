# Empty custom commands generated dependencies file for package-docs.
# This may be replaced when dependencies are built.
