# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for wizard_tests_autogen.
