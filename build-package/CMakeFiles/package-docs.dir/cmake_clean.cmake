file(REMOVE_RECURSE
  "CMakeFiles/package-docs"
  "changelog.gz"
  "vq-update.1.gz"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/package-docs.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
