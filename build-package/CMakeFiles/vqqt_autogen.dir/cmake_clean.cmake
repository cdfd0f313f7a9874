file(REMOVE_RECURSE
  "CMakeFiles/vqqt_autogen"
  "vqqt_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/vqqt_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
