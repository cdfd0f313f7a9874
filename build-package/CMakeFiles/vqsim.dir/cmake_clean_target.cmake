file(REMOVE_RECURSE
  "libvqsim.a"
)
