file(REMOVE_RECURSE
  "CMakeFiles/layering_test_autogen"
  "layering_test_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/layering_test_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
