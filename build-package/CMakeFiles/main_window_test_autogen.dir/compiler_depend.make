# Empty custom commands generated dependencies file for main_window_test_autogen.
# This may be replaced when dependencies are built.
