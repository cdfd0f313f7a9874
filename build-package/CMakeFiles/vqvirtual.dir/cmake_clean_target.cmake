file(REMOVE_RECURSE
  "libvqvirtual.a"
)
