# CMAKE generated file: DO NOT EDIT!
# Timestamp file for custom commands dependencies management for autopilot_test_autogen.
