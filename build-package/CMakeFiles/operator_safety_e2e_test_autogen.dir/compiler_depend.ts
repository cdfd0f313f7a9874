# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for operator_safety_e2e_test_autogen.
