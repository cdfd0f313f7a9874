// Ctrl+C as an event of the program's own loop: the signal handler only writes a byte to a
// pipe; the steps' event processing (or the wait for Enter) reads it and decides.
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
  // The pipe's reading end, for a poll() outside the event loop; take() empties it.
  int fd() const;
  // How many Ctrl+C were pending (0 when none).
  int take();

 private:
  std::unique_ptr<native::IoWatch> watch_;
};

}  // namespace vq::cli
