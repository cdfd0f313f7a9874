// The serial driver's low-latency mode. Without it an FTDI adapter holds received bytes for up
// to 16 ms (its latency timer), which a flash of a thousand exchanges pays for in full. Set
// when the port opens, the driver's own flags put back when it closes; a driver without the
// mode (a pseudo-terminal, CDC-ACM) refuses and nothing fails.
#pragma once
#include <functional>
#include <optional>

namespace vq::native {

class LowLatency {
 public:
  // The two ioctl calls (TIOCGSERIAL, TIOCSSERIAL) on a descriptor: false when refused.
  struct Ops {
    std::function<bool(int fd, int& flags)> get;
    std::function<bool(int fd, int flags)> set;
  };
  static Ops systemOps();

  explicit LowLatency(Ops ops = systemOps()) : ops_(std::move(ops)) {}
  // Remembers the driver's flags and adds low latency; true when the driver took it.
  bool enable(int fd);
  // Puts back the flags enable() found, if it changed them.
  void restore(int fd);
  void setOps(Ops ops) { ops_ = std::move(ops); }

 private:
  Ops ops_;
  std::optional<int> saved_;
};

}  // namespace vq::native
