file(REMOVE_RECURSE
  "CMakeFiles/autopilot_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/autopilot_test_autogen.dir/ParseCache.txt"
  "autopilot_test_autogen"
  "CMakeFiles/autopilot_test.dir/autopilot_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/autopilot_test.dir/autopilot_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/autopilot_test.dir/tests/gui/autopilot_test.cpp.o"
  "CMakeFiles/autopilot_test.dir/tests/gui/autopilot_test.cpp.o.d"
  "autopilot_test"
  "autopilot_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/autopilot_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
