CMakeFiles/qt_platform_test.dir/qt_platform_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/qt_platform_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
