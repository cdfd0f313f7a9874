CMakeFiles/layering_test.dir/layering_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/layering_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
