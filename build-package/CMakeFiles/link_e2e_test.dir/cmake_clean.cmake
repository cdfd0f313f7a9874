file(REMOVE_RECURSE
  "CMakeFiles/link_e2e_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/link_e2e_test_autogen.dir/ParseCache.txt"
  "link_e2e_test_autogen"
  "CMakeFiles/link_e2e_test.dir/link_e2e_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/link_e2e_test.dir/link_e2e_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/link_e2e_test.dir/tests/e2e/link_e2e_test.cpp.o"
  "CMakeFiles/link_e2e_test.dir/tests/e2e/link_e2e_test.cpp.o.d"
  "link_e2e_test"
  "link_e2e_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/link_e2e_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
