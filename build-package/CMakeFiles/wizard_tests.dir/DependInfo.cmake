
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/wizard/flash_sim_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/flash_sim_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/flash_sim_test.cpp.o.d"
  "/work/main/tests/wizard/flash_step5_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/flash_step5_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/flash_step5_test.cpp.o.d"
  "/work/main/tests/wizard/link_force_update_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/link_force_update_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/link_force_update_test.cpp.o.d"
  "/work/main/tests/wizard/link_sim_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/link_sim_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/link_sim_test.cpp.o.d"
  "/work/main/tests/wizard/link_steps_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/link_steps_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/link_steps_test.cpp.o.d"
  "/work/main/tests/wizard/sequence_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/sequence_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/sequence_test.cpp.o.d"
  "/work/main/tests/wizard/startup_test.cpp" "CMakeFiles/wizard_tests.dir/tests/wizard/startup_test.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/tests/wizard/startup_test.cpp.o.d"
  "/work/main/build-package/wizard_tests_autogen/mocs_compilation.cpp" "CMakeFiles/wizard_tests.dir/wizard_tests_autogen/mocs_compilation.cpp.o" "gcc" "CMakeFiles/wizard_tests.dir/wizard_tests_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-package/CMakeFiles/vqsim.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqvirtual.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqcore.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
