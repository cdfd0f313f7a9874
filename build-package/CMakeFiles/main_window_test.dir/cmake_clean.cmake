file(REMOVE_RECURSE
  "CMakeFiles/main_window_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/main_window_test_autogen.dir/ParseCache.txt"
  "main_window_test_autogen"
  "CMakeFiles/main_window_test.dir/main_window_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/main_window_test.dir/main_window_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/main_window_test.dir/tests/gui/main_window_test.cpp.o"
  "CMakeFiles/main_window_test.dir/tests/gui/main_window_test.cpp.o.d"
  "main_window_test"
  "main_window_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/main_window_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
