#include "front/click_gate.h"

#include <cstdio>
#include <exception>

namespace vq::front {

void runProcedure(const std::function<void()>& proc) {
  try {
    proc();
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "event procedure failed: %s\n", ex.what());
  }
}

bool runClick(const Button& model, void (*click)()) {
  if (!model.enabled) return false;
  runProcedure(click);
  return true;
}

}  // namespace vq::front
