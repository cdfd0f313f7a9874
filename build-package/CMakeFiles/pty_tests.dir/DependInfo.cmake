
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/build-package/pty_tests_autogen/mocs_compilation.cpp" "CMakeFiles/pty_tests.dir/pty_tests_autogen/mocs_compilation.cpp.o" "gcc" "CMakeFiles/pty_tests.dir/pty_tests_autogen/mocs_compilation.cpp.o.d"
  "/work/main/tests/pty/pty_client_line.cpp" "CMakeFiles/pty_tests.dir/tests/pty/pty_client_line.cpp.o" "gcc" "CMakeFiles/pty_tests.dir/tests/pty/pty_client_line.cpp.o.d"
  "/work/main/tests/pty/pty_sim_test.cpp" "CMakeFiles/pty_tests.dir/tests/pty/pty_sim_test.cpp.o" "gcc" "CMakeFiles/pty_tests.dir/tests/pty/pty_sim_test.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-package/CMakeFiles/vqsim.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqvirtual.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqcore.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
