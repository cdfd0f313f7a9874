file(REMOVE_RECURSE
  "CMakeFiles/pty_tests_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/pty_tests_autogen.dir/ParseCache.txt"
  "pty_tests_autogen"
  "CMakeFiles/pty_tests.dir/pty_tests_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/pty_tests.dir/pty_tests_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/pty_tests.dir/tests/pty/pty_client_line.cpp.o"
  "CMakeFiles/pty_tests.dir/tests/pty/pty_client_line.cpp.o.d"
  "CMakeFiles/pty_tests.dir/tests/pty/pty_sim_test.cpp.o"
  "CMakeFiles/pty_tests.dir/tests/pty/pty_sim_test.cpp.o.d"
  "pty_tests"
  "pty_tests.pdb"
  "pty_tests[1]_tests.cmake"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/pty_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
