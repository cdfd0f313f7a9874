// Holds a serial port as vq-update-cli does until its standard input ends: the other program
// of the Wine tests' busy-port row.
#include <cstdio>

#include "platform/native/com_port_map.h"
#include "platform/native/poll_loop.h"
#include "platform/native/serial_port.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: port_holder PORT\n", stderr);
    return 2;
  }
  vq::native::ComPortMap map;
  map.pin(1, argv[1]);
  vq::native::PollLoop loop;
  vq::native::NativeSerialPort port(map, loop);
  try {
    port.setPortOpen(true);
  } catch (const vq::SerialError& e) {
    std::fprintf(stderr, "port_holder: %s\n", e.what());
    return 1;
  }
  std::puts("held");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  return 0;
}
