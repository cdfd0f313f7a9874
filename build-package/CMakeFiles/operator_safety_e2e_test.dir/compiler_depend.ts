# CMAKE generated file: DO NOT EDIT!
# Timestamp file for compiler generated dependencies management for operator_safety_e2e_test.
