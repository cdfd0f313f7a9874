file(REMOVE_RECURSE
  "CMakeFiles/main_window_test_autogen"
  "main_window_test_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/main_window_test_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
