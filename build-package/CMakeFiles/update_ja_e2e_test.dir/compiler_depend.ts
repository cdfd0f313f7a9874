# CMAKE generated file: DO NOT EDIT!
# Timestamp file for compiler generated dependencies management for update_ja_e2e_test.
