# Empty dependencies file for qt_platform_test.
# This may be replaced when dependencies are built.
