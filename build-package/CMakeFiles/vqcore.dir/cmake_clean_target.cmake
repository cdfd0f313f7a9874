file(REMOVE_RECURSE
  "libvqcore.a"
)
