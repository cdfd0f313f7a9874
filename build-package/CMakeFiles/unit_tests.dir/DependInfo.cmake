
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/unit/app/error_display_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/app/error_display_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/app/error_display_test.cpp.o.d"
  "/work/main/tests/unit/app/step_texts_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/app/step_texts_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/app/step_texts_test.cpp.o.d"
  "/work/main/tests/unit/config/port_settings_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/config/port_settings_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/config/port_settings_test.cpp.o.d"
  "/work/main/tests/unit/flash/boot_flash_stages_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/flash/boot_flash_stages_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/flash/boot_flash_stages_test.cpp.o.d"
  "/work/main/tests/unit/flash/boot_frames_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/flash/boot_frames_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/flash/boot_frames_test.cpp.o.d"
  "/work/main/tests/unit/flash/boot_setup_stages_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/flash/boot_setup_stages_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/flash/boot_setup_stages_test.cpp.o.d"
  "/work/main/tests/unit/image/file_select_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/image/file_select_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/image/file_select_test.cpp.o.d"
  "/work/main/tests/unit/image/write_blocks_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/image/write_blocks_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/image/write_blocks_test.cpp.o.d"
  "/work/main/tests/unit/line_settings_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/line_settings_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/line_settings_test.cpp.o.d"
  "/work/main/tests/unit/link/commands_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/link/commands_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/link/commands_test.cpp.o.d"
  "/work/main/tests/unit/link/engine_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/link/engine_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/link/engine_test.cpp.o.d"
  "/work/main/tests/unit/link/frame_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/link/frame_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/link/frame_test.cpp.o.d"
  "/work/main/tests/unit/link/parsers_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/link/parsers_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/link/parsers_test.cpp.o.d"
  "/work/main/tests/unit/sim/boot_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/sim/boot_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/sim/boot_test.cpp.o.d"
  "/work/main/tests/unit/sim/fault_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/sim/fault_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/sim/fault_test.cpp.o.d"
  "/work/main/tests/unit/sim/instrument_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/sim/instrument_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/sim/instrument_test.cpp.o.d"
  "/work/main/tests/unit/sim/update_file_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/sim/update_file_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/sim/update_file_test.cpp.o.d"
  "/work/main/tests/unit/virtual_platform_test.cpp" "CMakeFiles/unit_tests.dir/tests/unit/virtual_platform_test.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/tests/unit/virtual_platform_test.cpp.o.d"
  "/work/main/build-package/unit_tests_autogen/mocs_compilation.cpp" "CMakeFiles/unit_tests.dir/unit_tests_autogen/mocs_compilation.cpp.o" "gcc" "CMakeFiles/unit_tests.dir/unit_tests_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-package/CMakeFiles/vqsim.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqvirtual.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqcore.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
