file(REMOVE_RECURSE
  "CMakeFiles/vq-update_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/vq-update_autogen.dir/ParseCache.txt"
  "vq-update_autogen"
  "CMakeFiles/vq-update.dir/src/main.cpp.o"
  "CMakeFiles/vq-update.dir/src/main.cpp.o.d"
  "CMakeFiles/vq-update.dir/vq-update_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/vq-update.dir/vq-update_autogen/mocs_compilation.cpp.o.d"
  "vq-update"
  "vq-update.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/vq-update.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
