# Empty dependencies file for vq-make-update-file.
# This may be replaced when dependencies are built.
