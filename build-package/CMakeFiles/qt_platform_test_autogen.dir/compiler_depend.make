# Empty custom commands generated dependencies file for qt_platform_test_autogen.
# This may be replaced when dependencies are built.
