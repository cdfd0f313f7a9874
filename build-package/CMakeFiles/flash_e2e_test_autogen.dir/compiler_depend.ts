# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for flash_e2e_test_autogen.
