# Empty custom commands generated dependencies file for vqqt_autogen.
# This may be replaced when dependencies are built.
