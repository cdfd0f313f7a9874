file(REMOVE_RECURSE
  "CMakeFiles/vq-update_autogen"
  "vq-update_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/vq-update_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
