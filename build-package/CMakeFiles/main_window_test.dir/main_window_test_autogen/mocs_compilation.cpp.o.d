CMakeFiles/main_window_test.dir/main_window_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/main_window_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
