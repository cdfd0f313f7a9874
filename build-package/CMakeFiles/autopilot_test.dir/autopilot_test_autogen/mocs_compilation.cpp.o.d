CMakeFiles/autopilot_test.dir/autopilot_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/autopilot_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
