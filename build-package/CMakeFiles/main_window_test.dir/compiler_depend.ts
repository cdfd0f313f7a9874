# CMAKE generated file: DO NOT EDIT!
# Timestamp file for compiler generated dependencies management for main_window_test.
