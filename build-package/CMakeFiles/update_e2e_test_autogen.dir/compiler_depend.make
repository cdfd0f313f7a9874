# Empty custom commands generated dependencies file for update_e2e_test_autogen.
# This may be replaced when dependencies are built.
