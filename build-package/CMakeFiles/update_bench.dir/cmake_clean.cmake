file(REMOVE_RECURSE
  "CMakeFiles/update_bench_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/update_bench_autogen.dir/ParseCache.txt"
  "update_bench_autogen"
  "CMakeFiles/update_bench.dir/bench/update_bench.cpp.o"
  "CMakeFiles/update_bench.dir/bench/update_bench.cpp.o.d"
  "CMakeFiles/update_bench.dir/update_bench_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/update_bench.dir/update_bench_autogen/mocs_compilation.cpp.o.d"
  "update_bench"
  "update_bench.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/update_bench.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
