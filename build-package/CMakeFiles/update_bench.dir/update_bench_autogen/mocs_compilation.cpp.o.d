CMakeFiles/update_bench.dir/update_bench_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/update_bench_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
