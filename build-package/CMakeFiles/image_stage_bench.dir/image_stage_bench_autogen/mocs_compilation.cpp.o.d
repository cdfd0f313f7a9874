CMakeFiles/image_stage_bench.dir/image_stage_bench_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/image_stage_bench_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
