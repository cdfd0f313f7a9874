
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/sim/device_report.cpp" "CMakeFiles/vqsim.dir/sim/device_report.cpp.o" "gcc" "CMakeFiles/vqsim.dir/sim/device_report.cpp.o.d"
  "/work/main/sim/fault_plan.cpp" "CMakeFiles/vqsim.dir/sim/fault_plan.cpp.o" "gcc" "CMakeFiles/vqsim.dir/sim/fault_plan.cpp.o.d"
  "/work/main/sim/sha256.cpp" "CMakeFiles/vqsim.dir/sim/sha256.cpp.o" "gcc" "CMakeFiles/vqsim.dir/sim/sha256.cpp.o.d"
  "/work/main/sim/update_file.cpp" "CMakeFiles/vqsim.dir/sim/update_file.cpp.o" "gcc" "CMakeFiles/vqsim.dir/sim/update_file.cpp.o.d"
  "/work/main/sim/vq_device.cpp" "CMakeFiles/vqsim.dir/sim/vq_device.cpp.o" "gcc" "CMakeFiles/vqsim.dir/sim/vq_device.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build-package/CMakeFiles/vqvirtual.dir/DependInfo.cmake"
  "/work/main/build-package/CMakeFiles/vqcore.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
