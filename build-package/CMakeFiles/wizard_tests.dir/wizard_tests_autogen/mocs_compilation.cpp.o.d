CMakeFiles/wizard_tests.dir/wizard_tests_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/wizard_tests_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
