CMakeFiles/vq-make-update-file.dir/vq-make-update-file_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/vq-make-update-file_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
