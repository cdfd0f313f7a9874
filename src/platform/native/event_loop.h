// What the serial port and tmrComm need of an event loop: a descriptor watched for input and
// for room to write, and timers (a single-shot timer of 0 ms runs at the loop's next pass).
// Two loops provide it: PollLoop (poll_loop.h) for vq-update-cli, which owns its wait, and
// qt::QtEventLoop for the window, whose wait belongs to Qt's event dispatcher.
#pragma once
#include <functional>
#include <memory>

namespace vq::native {

// What a loop waits on for one source of input. On POSIX systems a descriptor that polls
// readable and writable. On Windows there is no such descriptor for a serial port: its
// overlapped read and write each signal an event when done, and a Ctrl+C handler sets one.
#ifdef _WIN32
struct Waitable {
  void* readable = nullptr;  // an event handle, signalled while input waits
  void* writable = nullptr;  // an event handle, signalled while output can be taken (or null)
};
#else
struct Waitable {
  Waitable(int descriptor = -1) : fd(descriptor) {}  // NOLINT: a descriptor is a waitable
  int fd;
};
#endif

class IoWatch {
 public:
  virtual ~IoWatch() = default;
  // While off, the watch's onReadable does not run (on from the start).
  virtual void setReadEnabled(bool on) = 0;
  // While on, the watch's onWritable runs whenever the descriptor can take output.
  virtual void setWriteEnabled(bool on) = 0;
};

class LoopTimer {
 public:
  virtual ~LoopTimer() = default;
  // (Re)starts the interval from now.
  virtual void start(int ms) = 0;
  virtual void stop() = 0;
  virtual bool active() const = 0;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // onReadable runs when input waits and also when the source hung up or failed, so the
  // reader finds out at once; the watch ends when the returned object goes.
  virtual std::unique_ptr<IoWatch> watch(Waitable source, std::function<void()> onReadable,
                                         std::function<void()> onWritable) = 0;
  // Precise to well under a millisecond: protocol intervals are 1 to 10 ms.
  virtual std::unique_ptr<LoopTimer> timer(bool singleShot, std::function<void()> onFire) = 0;
};

// Runs a loop's handler: what it throws is reported on stderr, never unwinds the loop (the
// steps catch their own failures).
void runGuarded(const std::function<void()>& handler);

}  // namespace vq::native
