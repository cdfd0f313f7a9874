file(REMOVE_RECURSE
  "libvqqt.a"
)
