file(REMOVE_RECURSE
  "CMakeFiles/vq-make-update-file_autogen"
  "vq-make-update-file_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/vq-make-update-file_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
