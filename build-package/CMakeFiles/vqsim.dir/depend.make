# Empty dependencies file for vqsim.
# This may be replaced when dependencies are built.
