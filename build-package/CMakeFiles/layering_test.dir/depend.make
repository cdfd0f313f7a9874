# Empty dependencies file for layering_test.
# This may be replaced when dependencies are built.
