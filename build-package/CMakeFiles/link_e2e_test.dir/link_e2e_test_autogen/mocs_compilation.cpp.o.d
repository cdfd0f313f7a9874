CMakeFiles/link_e2e_test.dir/link_e2e_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/link_e2e_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
