#include "platform/platform.h"

#include <cstdlib>
#include <cstdio>

namespace vq {
namespace {
Platform* gPlatform = nullptr;
SerialPort* gPort = nullptr;
Timer* gTimer = nullptr;

template <class T>
T& need(T* p, const char* what) {
  if (!p) {
    std::fprintf(stderr, "platform not installed: %s\n", what);
    std::abort();
  }
  return *p;
}
}  // namespace

Platform& platform() { return need(gPlatform, "platform"); }
SerialPort& mscComm() { return need(gPort, "mscComm"); }
Timer& tmrComm() { return need(gTimer, "tmrComm"); }

void installPlatform(Platform* p, SerialPort* port, Timer* timer) {
  gPlatform = p;
  gPort = port;
  gTimer = timer;
}

}  // namespace vq
