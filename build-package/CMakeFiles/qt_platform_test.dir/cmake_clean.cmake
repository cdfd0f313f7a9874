file(REMOVE_RECURSE
  "CMakeFiles/qt_platform_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/qt_platform_test_autogen.dir/ParseCache.txt"
  "qt_platform_test_autogen"
  "CMakeFiles/qt_platform_test.dir/qt_platform_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/qt_platform_test.dir/qt_platform_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/qt_platform_test.dir/tests/gui/qt_platform_test.cpp.o"
  "CMakeFiles/qt_platform_test.dir/tests/gui/qt_platform_test.cpp.o.d"
  "qt_platform_test"
  "qt_platform_test.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/qt_platform_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
