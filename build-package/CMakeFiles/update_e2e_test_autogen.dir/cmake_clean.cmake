file(REMOVE_RECURSE
  "CMakeFiles/update_e2e_test_autogen"
  "update_e2e_test_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/update_e2e_test_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
