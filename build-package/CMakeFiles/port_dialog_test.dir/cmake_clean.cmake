file(REMOVE_RECURSE
  "CMakeFiles/port_dialog_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/port_dialog_test_autogen.dir/ParseCache.txt"
  "port_dialog_test_autogen"
  "CMakeFiles/port_dialog_test.dir/port_dialog_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/port_dialog_test.dir/port_dialog_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/port_dialog_test.dir/tests/gui/port_dialog_test.cpp.o"
  "CMakeFiles/port_dialog_test.dir/tests/gui/port_dialog_test.cpp.o.d"
  "port_dialog_test"
  "port_dialog_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/port_dialog_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
