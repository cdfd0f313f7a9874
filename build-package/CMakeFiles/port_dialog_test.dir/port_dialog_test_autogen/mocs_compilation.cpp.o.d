CMakeFiles/port_dialog_test.dir/port_dialog_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/port_dialog_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
