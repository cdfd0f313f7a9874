# Empty custom commands generated dependencies file for operator_safety_e2e_test_autogen.
# This may be replaced when dependencies are built.
