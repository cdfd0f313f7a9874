# Empty dependencies file for flash_e2e_test.
# This may be replaced when dependencies are built.
