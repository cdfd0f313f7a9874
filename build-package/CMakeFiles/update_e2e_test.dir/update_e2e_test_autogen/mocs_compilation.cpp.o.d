CMakeFiles/update_e2e_test.dir/update_e2e_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/update_e2e_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
