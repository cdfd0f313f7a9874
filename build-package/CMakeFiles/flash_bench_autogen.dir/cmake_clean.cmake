file(REMOVE_RECURSE
  "CMakeFiles/flash_bench_autogen"
  "flash_bench_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/flash_bench_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
