file(REMOVE_RECURSE
  "CMakeFiles/port_dialog_test_autogen"
  "port_dialog_test_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/port_dialog_test_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
