file(REMOVE_RECURSE
  "CMakeFiles/flash_bench_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/flash_bench_autogen.dir/ParseCache.txt"
  "flash_bench_autogen"
  "CMakeFiles/flash_bench.dir/bench/flash_bench.cpp.o"
  "CMakeFiles/flash_bench.dir/bench/flash_bench.cpp.o.d"
  "CMakeFiles/flash_bench.dir/flash_bench_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/flash_bench.dir/flash_bench_autogen/mocs_compilation.cpp.o.d"
  "flash_bench"
  "flash_bench.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/flash_bench.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
