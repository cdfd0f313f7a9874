// Ctrl+C as an event of the program's own loop: the signal handler only writes a byte to a
// pipe (on Windows the console's control handler, on its own thread, counts and sets an
// event); the steps' event processing (or the wait for Enter) takes it and decides.
#pragma once
#include <functional>
#include <memory>

#include "platform/native/event_loop.h"

namespace vq::cli {

class InterruptWatch {
 public:
  explicit InterruptWatch(native::EventLoop& loop);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Called once per Ctrl+C from the event loop.
  std::function<void()> onInterrupt;
  // What signals a pending Ctrl+C, for a wait outside the event loop; take() clears it.
  native::Waitable waitable() const;
  // How many Ctrl+C were pending (0 when none).
  int take();

 private:
  std::unique_ptr<native::IoWatch> watch_;
};

}  // namespace vq::cli
