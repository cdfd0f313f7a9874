// What sits at the far end of the virtual serial line: a device model (sim/) or a test's fake.
// The same model is served in real time by vq-sim through another DeviceHost.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/line_settings.h"
#include "platform/platform.h"

namespace vq::virt {

// Services the transport gives the device.
class DeviceHost {
 public:
  virtual ~DeviceHost() = default;
  virtual std::int64_t nowUs() const = 0;
  // Runs fn once, delayUs from now, on the same thread as everything else.
  virtual void after(std::int64_t delayUs, std::function<void()> fn) = 0;
  // Queues bytes for the PC; each takes its line time at the line's current settings.
  virtual void transmit(const Bytes& bytes) = 0;
  // The device's CTS or DSR output changed (the PC may raise a CTS-change event).
  virtual void modemChanged() = 0;
};

class Device {
 public:
  virtual ~Device() = default;
  virtual void attach(DeviceHost* host) = 0;
  // One byte has finished arriving, sent by the PC at the given line settings. A device
  // that expects other settings sees garbage, as real hardware would.
  virtual void receive(std::uint8_t byte, const LineSettings& pcSettings) = 0;
  // The PC opened or closed its port, or changed DTR/RTS.
  virtual void portOpened(bool open) { (void)open; }
  virtual void modemOut(bool dtr, bool rts) { (void)dtr; (void)rts; }
  virtual bool cts() const { return true; }
  virtual bool dsr() const { return false; }
};

}  // namespace vq::virt
