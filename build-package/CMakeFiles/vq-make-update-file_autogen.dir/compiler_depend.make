# Empty custom commands generated dependencies file for vq-make-update-file_autogen.
# This may be replaced when dependencies are built.
