CMakeFiles/vq-sim.dir/vq-sim_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/vq-sim_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
