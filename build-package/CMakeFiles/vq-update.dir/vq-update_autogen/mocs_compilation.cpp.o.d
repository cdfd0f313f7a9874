CMakeFiles/vq-update.dir/vq-update_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/vq-update_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
