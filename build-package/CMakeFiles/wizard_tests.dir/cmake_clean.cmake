file(REMOVE_RECURSE
  "CMakeFiles/wizard_tests_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/wizard_tests_autogen.dir/ParseCache.txt"
  "wizard_tests_autogen"
  "CMakeFiles/wizard_tests.dir/tests/wizard/flash_sim_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/flash_sim_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/tests/wizard/flash_step5_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/flash_step5_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/tests/wizard/link_force_update_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/link_force_update_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/tests/wizard/link_sim_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/link_sim_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/tests/wizard/link_steps_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/link_steps_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/tests/wizard/sequence_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/sequence_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/tests/wizard/startup_test.cpp.o"
  "CMakeFiles/wizard_tests.dir/tests/wizard/startup_test.cpp.o.d"
  "CMakeFiles/wizard_tests.dir/wizard_tests_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/wizard_tests.dir/wizard_tests_autogen/mocs_compilation.cpp.o.d"
  "wizard_tests"
  "wizard_tests.pdb"
  "wizard_tests[1]_tests.cmake"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/wizard_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
