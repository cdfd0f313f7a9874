file(REMOVE_RECURSE
  "CMakeFiles/vq-sim_autogen"
  "vq-sim_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/vq-sim_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
