# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for main_window_test_autogen.
