CMakeFiles/operator_safety_e2e_test.dir/operator_safety_e2e_test_autogen/mocs_compilation.cpp.o: \
 /work/main/build-package/operator_safety_e2e_test_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
