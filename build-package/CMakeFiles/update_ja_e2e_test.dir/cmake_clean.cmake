file(REMOVE_RECURSE
  "CMakeFiles/update_ja_e2e_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/update_ja_e2e_test_autogen.dir/ParseCache.txt"
  "update_ja_e2e_test_autogen"
  "CMakeFiles/update_ja_e2e_test.dir/tests/e2e/update_ja_e2e_test.cpp.o"
  "CMakeFiles/update_ja_e2e_test.dir/tests/e2e/update_ja_e2e_test.cpp.o.d"
  "CMakeFiles/update_ja_e2e_test.dir/update_ja_e2e_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/update_ja_e2e_test.dir/update_ja_e2e_test_autogen/mocs_compilation.cpp.o.d"
  "update_ja_e2e_test"
  "update_ja_e2e_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/update_ja_e2e_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
