
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/src/platform/qt/com_port_map.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/com_port_map.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/com_port_map.cpp.o.d"
  "/work/main/src/platform/qt/low_latency.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/low_latency.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/low_latency.cpp.o.d"
  "/work/main/src/platform/qt/port_check.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/port_check.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/port_check.cpp.o.d"
  "/work/main/src/platform/qt/port_diagnosis.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/port_diagnosis.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/port_diagnosis.cpp.o.d"
  "/work/main/src/platform/qt/qt_platform.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/qt_platform.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/qt_platform.cpp.o.d"
  "/work/main/src/platform/qt/qt_serial_port.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/qt_serial_port.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/qt_serial_port.cpp.o.d"
  "/work/main/src/platform/qt/qt_timer.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/qt_timer.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/qt_timer.cpp.o.d"
  "/work/main/src/platform/qt/termios2_flags.cpp" "CMakeFiles/vqqt.dir/src/platform/qt/termios2_flags.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/platform/qt/termios2_flags.cpp.o.d"
  "/work/main/src/ui/autopilot.cpp" "CMakeFiles/vqqt.dir/src/ui/autopilot.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/autopilot.cpp.o.d"
  "/work/main/src/ui/force_update_dialog.cpp" "CMakeFiles/vqqt.dir/src/ui/force_update_dialog.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/force_update_dialog.cpp.o.d"
  "/work/main/src/ui/main_window.cpp" "CMakeFiles/vqqt.dir/src/ui/main_window.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/main_window.cpp.o.d"
  "/work/main/src/ui/mirror.cpp" "CMakeFiles/vqqt.dir/src/ui/mirror.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/mirror.cpp.o.d"
  "/work/main/src/ui/port_conf_dialog.cpp" "CMakeFiles/vqqt.dir/src/ui/port_conf_dialog.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/port_conf_dialog.cpp.o.d"
  "/work/main/src/ui/program.cpp" "CMakeFiles/vqqt.dir/src/ui/program.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/program.cpp.o.d"
  "/work/main/src/ui/qt_windows.cpp" "CMakeFiles/vqqt.dir/src/ui/qt_windows.cpp.o" "gcc" "CMakeFiles/vqqt.dir/src/ui/qt_windows.cpp.o.d"
  "/work/main/build-package/vqqt_autogen/mocs_compilation.cpp" "CMakeFiles/vqqt.dir/vqqt_autogen/mocs_compilation.cpp.o" "gcc" "CMakeFiles/vqqt.dir/vqqt_autogen/mocs_compilation.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-package/CMakeFiles/vqcore.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
