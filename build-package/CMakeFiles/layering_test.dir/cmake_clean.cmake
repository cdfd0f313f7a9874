file(REMOVE_RECURSE
  "CMakeFiles/layering_test_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/layering_test_autogen.dir/ParseCache.txt"
  "layering_test_autogen"
  "CMakeFiles/layering_test.dir/layering_test_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/layering_test.dir/layering_test_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/layering_test.dir/tests/layering/layering_test.cpp.o"
  "CMakeFiles/layering_test.dir/tests/layering/layering_test.cpp.o.d"
  "layering_test"
  "layering_test.pdb"
  "layering_test[1]_tests.cmake"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/layering_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
