# Empty dependencies file for link_e2e_test.
# This may be replaced when dependencies are built.
