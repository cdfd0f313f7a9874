# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for pty_tests_autogen.
