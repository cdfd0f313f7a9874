file(REMOVE_RECURSE
  "CMakeFiles/flash_e2e_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/flash_e2e_test_autogen.dir/ParseCache.txt"
  "flash_e2e_test_autogen"
  "CMakeFiles/flash_e2e_test.dir/flash_e2e_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/flash_e2e_test.dir/flash_e2e_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/flash_e2e_test.dir/tests/e2e/flash_e2e_test.cpp.o"
  "CMakeFiles/flash_e2e_test.dir/tests/e2e/flash_e2e_test.cpp.o.d"
  "flash_e2e_test"
  "flash_e2e_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/flash_e2e_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
