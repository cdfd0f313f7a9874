#include <windows.h>

#include <atomic>

#include "cli/interrupt_watch.h"

namespace vq::cli {

namespace {

std::atomic<int> gPending{0};
std::atomic<bool> gIgnore{false};
HANDLE gEvent = nullptr;

// Runs on a thread of the system's: counts, wakes the loop, and keeps the default (exit) away.
BOOL WINAPI onControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  if (!gIgnore) {
    ++gPending;
    ::SetEvent(gEvent);
  }
  return TRUE;
}

}  // namespace

InterruptWatch::InterruptWatch(native::EventLoop& loop) {
  gEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  gIgnore = false;
  ::SetConsoleCtrlHandler(onControl, TRUE);
  watch_ = loop.watch({gEvent, nullptr}, [this] {
    for (int n = take(); n > 0; --n)
      if (onInterrupt) onInterrupt();
  }, nullptr);
}

InterruptWatch::~InterruptWatch() {
  watch_.reset();
  // Only the exit is left: a Ctrl+C now must not turn a finished update into a killed one.
  gIgnore = true;
}

native::Waitable InterruptWatch::waitable() const { return {gEvent, nullptr}; }

int InterruptWatch::take() {
  // Reset first: a Ctrl+C between the two sets the event again.
  ::ResetEvent(gEvent);
  return gPending.exchange(0);
}

}  // namespace vq::cli
