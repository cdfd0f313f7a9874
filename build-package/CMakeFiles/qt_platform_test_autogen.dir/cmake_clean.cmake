file(REMOVE_RECURSE
  "CMakeFiles/qt_platform_test_autogen"
  "qt_platform_test_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/qt_platform_test_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
