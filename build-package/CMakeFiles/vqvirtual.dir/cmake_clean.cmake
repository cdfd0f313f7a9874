file(REMOVE_RECURSE
  "CMakeFiles/vqvirtual.dir/src/platform/virtual/virtual_platform.cpp.o"
  "CMakeFiles/vqvirtual.dir/src/platform/virtual/virtual_platform.cpp.o.d"
  "libvqvirtual.a"
  "libvqvirtual.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/vqvirtual.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
