#include "platform/native/event_loop.h"

#include <cstdio>
#include <exception>

namespace vq::native {

void runGuarded(const std::function<void()>& handler) {
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "event handler failed: %s\n", ex.what());
  }
}

}  // namespace vq::native
