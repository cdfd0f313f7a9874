// COM numbers on Linux: the program speaks of COM1..COM16; each number maps to a device path.
// Numbers pinned on the command line (--com N=PATH) go to their device; the other numbers, in
// increasing order, take the system's serial devices not pinned elsewhere, USB and ACM adapters
// first, each group in natural order (ttyUSB2 before ttyUSB10). On Windows the numbers are the
// system's own (COM3 is \\.\COM3); pins still apply.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace vq::native {

// Orders device paths: /dev/ttyUSB* and /dev/ttyACM* first, then the others; natural order
// within each group; duplicates dropped.
std::vector<std::string> orderSerialDevices(std::vector<std::string> paths);

// Parses "N=PATH" of --com; false when malformed or N is outside 1..255.
bool parseComPin(const std::string& arg, int& number, std::string& path);

class ComPortMap {
 public:
  void pin(int number, const std::string& path) { pins_[number] = path; }
  const std::map<int, std::string>& pins() const { return pins_; }

  // Device path of COM n, empty when none. Reads the system's device list each time, so an
  // adapter plugged in later is found.
  std::string pathFor(int number) const;
  // The last part of that path ("ttyUSB0", "COM3"), as the port dialog shows it.
  std::string deviceName(int number) const;
  // Same, over a given device list (for tests).
  std::string pathFor(int number, const std::vector<std::string>& systemDevices) const;

  // The system's serial devices (full paths): every tty the kernel backs with a device, the
  // virtual ones (consoles, pseudo-terminals) left out; on Windows the ports of the system's
  // serial device map (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM), sysClassTty unused.
  static std::vector<std::string> systemDevices(const std::string& sysClassTty = "/sys/class/tty");

 private:
  std::map<int, std::string> pins_;
};

}  // namespace vq::native
