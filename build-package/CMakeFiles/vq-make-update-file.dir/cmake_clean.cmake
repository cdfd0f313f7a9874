file(REMOVE_RECURSE
  "CMakeFiles/vq-make-update-file_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/vq-make-update-file_autogen.dir/ParseCache.txt"
  "vq-make-update-file_autogen"
  "CMakeFiles/vq-make-update-file.dir/sim/make_update_file_main.cpp.o"
  "CMakeFiles/vq-make-update-file.dir/sim/make_update_file_main.cpp.o.d"
  "CMakeFiles/vq-make-update-file.dir/vq-make-update-file_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/vq-make-update-file.dir/vq-make-update-file_autogen/mocs_compilation.cpp.o.d"
  "vq-make-update-file"
  "vq-make-update-file.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/vq-make-update-file.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
