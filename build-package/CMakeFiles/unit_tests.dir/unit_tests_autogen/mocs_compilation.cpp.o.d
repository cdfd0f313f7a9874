CMakeFiles/unit_tests.dir/unit_tests_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/unit_tests_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
