# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for update_e2e_test_autogen.
