// The native serial port and tmrComm inside Qt's event loop. The window's thread waits in Qt's
// dispatcher (the display connection, the window's own timers), so the port's descriptor joins
// that wait through a QSocketNotifier instead of a second wait of our own: no thread, no
// polling, and a reply wakes the window at once. On Windows the port's completion events join
// it through QWinEventNotifier.
#pragma once
#include "platform/native/event_loop.h"

namespace vq::qt {

class QtEventLoop : public native::EventLoop {
 public:
  std::unique_ptr<native::IoWatch> watch(native::Waitable source, std::function<void()> onReadable,
                                         std::function<void()> onWritable) override;
  std::unique_ptr<native::LoopTimer> timer(bool singleShot, std::function<void()> onFire) override;
};

}  // namespace vq::qt
