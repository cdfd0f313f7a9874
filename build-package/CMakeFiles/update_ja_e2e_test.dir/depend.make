# Empty dependencies file for update_ja_e2e_test.
# This may be replaced when dependencies are built.
