file(REMOVE_RECURSE
  "CMakeFiles/vq-sim_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/vq-sim_autogen.dir/ParseCache.txt"
  "vq-sim_autogen"
  "CMakeFiles/vq-sim.dir/sim/pty_server.cpp.o"
  "CMakeFiles/vq-sim.dir/sim/pty_server.cpp.o.d"
  "CMakeFiles/vq-sim.dir/sim/pty_termios2.cpp.o"
  "CMakeFiles/vq-sim.dir/sim/pty_termios2.cpp.o.d"
  "CMakeFiles/vq-sim.dir/sim/vq_sim_main.cpp.o"
  "CMakeFiles/vq-sim.dir/sim/vq_sim_main.cpp.o.d"
  "CMakeFiles/vq-sim.dir/vq-sim_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/vq-sim.dir/vq-sim_autogen/mocs_compilation.cpp.o.d"
  "vq-sim"
  "vq-sim.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/vq-sim.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
