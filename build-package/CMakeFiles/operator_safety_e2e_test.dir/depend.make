# Empty dependencies file for operator_safety_e2e_test.
# This may be replaced when dependencies are built.
