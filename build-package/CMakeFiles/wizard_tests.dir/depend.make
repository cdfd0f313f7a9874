# Empty dependencies file for wizard_tests.
# This may be replaced when dependencies are built.
