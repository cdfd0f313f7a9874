# Empty dependencies file for pty_tests.
# This may be replaced when dependencies are built.
