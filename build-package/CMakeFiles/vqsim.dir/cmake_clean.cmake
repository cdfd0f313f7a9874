file(REMOVE_RECURSE
  "CMakeFiles/vqsim.dir/sim/device_report.cpp.o"
  "CMakeFiles/vqsim.dir/sim/device_report.cpp.o.d"
  "CMakeFiles/vqsim.dir/sim/fault_plan.cpp.o"
  "CMakeFiles/vqsim.dir/sim/fault_plan.cpp.o.d"
  "CMakeFiles/vqsim.dir/sim/sha256.cpp.o"
  "CMakeFiles/vqsim.dir/sim/sha256.cpp.o.d"
  "CMakeFiles/vqsim.dir/sim/update_file.cpp.o"
  "CMakeFiles/vqsim.dir/sim/update_file.cpp.o.d"
  "CMakeFiles/vqsim.dir/sim/vq_device.cpp.o"
  "CMakeFiles/vqsim.dir/sim/vq_device.cpp.o.d"
  "libvqsim.a"
  "libvqsim.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/vqsim.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
