CMakeFiles/flash_bench.dir/flash_bench_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/flash_bench_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
