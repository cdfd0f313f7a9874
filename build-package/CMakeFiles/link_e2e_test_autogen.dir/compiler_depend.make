# Empty custom commands generated dependencies file for link_e2e_test_autogen.
# This may be replaced when dependencies are built.
