# Empty custom commands generated dependencies file for vq-update_autogen.
# This may be replaced when dependencies are built.
