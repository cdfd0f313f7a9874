CMakeFiles/pty_tests.dir/pty_tests_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/pty_tests_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
