# Empty dependencies file for main_window_test.
# This may be replaced when dependencies are built.
