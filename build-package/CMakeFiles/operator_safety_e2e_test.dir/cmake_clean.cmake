file(REMOVE_RECURSE
  "CMakeFiles/operator_safety_e2e_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/operator_safety_e2e_test_autogen.dir/ParseCache.txt"
  "operator_safety_e2e_test_autogen"
  "CMakeFiles/operator_safety_e2e_test.dir/operator_safety_e2e_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/operator_safety_e2e_test.dir/operator_safety_e2e_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/operator_safety_e2e_test.dir/tests/e2e/operator_safety_e2e_test.cpp.o"
  "CMakeFiles/operator_safety_e2e_test.dir/tests/e2e/operator_safety_e2e_test.cpp.o.d"
  "operator_safety_e2e_test"
  "operator_safety_e2e_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/operator_safety_e2e_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
