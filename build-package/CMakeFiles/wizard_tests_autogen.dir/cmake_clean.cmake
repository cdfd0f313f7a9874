file(REMOVE_RECURSE
  "CMakeFiles/wizard_tests_autogen"
  "wizard_tests_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/wizard_tests_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
