CMakeFiles/flash_e2e_test.dir/flash_e2e_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/flash_e2e_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
