# Empty dependencies file for autopilot_test.
# This may be replaced when dependencies are built.
