CMakeFiles/update_ja_e2e_test.dir/update_ja_e2e_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/update_ja_e2e_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
