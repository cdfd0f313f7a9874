file(REMOVE_RECURSE
  "CMakeFiles/image_stage_bench_autogen"
  "image_stage_bench_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/image_stage_bench_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
