# Empty dependencies file for port_dialog_test.
# This may be replaced when dependencies are built.
