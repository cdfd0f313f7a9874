file(REMOVE_RECURSE
  "CMakeFiles/operator_safety_e2e_test_autogen"
  "operator_safety_e2e_test_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/operator_safety_e2e_test_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
