file(REMOVE_RECURSE
  "CMakeFiles/image_stage_bench_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/image_stage_bench_autogen.dir/ParseCache.txt"
  "image_stage_bench_autogen"
  "CMakeFiles/image_stage_bench.dir/bench/image_stage_bench.cpp.o"
  "CMakeFiles/image_stage_bench.dir/bench/image_stage_bench.cpp.o.d"
  "CMakeFiles/image_stage_bench.dir/image_stage_bench_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/image_stage_bench.dir/image_stage_bench_autogen/mocs_compilation.cpp.o.d"
  "image_stage_bench"
  "image_stage_bench.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/image_stage_bench.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
