// vq-update --check-port: what stands between this user and a serial device, each problem
// with its one-line remedy. Reads /dev, /sys and /proc (roots injectable for tests).
#pragma once
#include <string>
#include <vector>

namespace vq::native {

struct PortCheckRoots {
  std::string dev = "/dev";
  std::string sys = "/sys";
  std::string proc = "/proc";
  std::string run = "/run";
  std::string lock = "/var/lock";
  std::vector<std::string> bin{"/usr/bin", "/bin", "/usr/sbin", "/sbin"};
};

struct PortCheck {
  int comPort = 0;           // 0 when no COM number maps to it
  std::string path;
  std::string byId;          // /dev/serial/by-id name, empty when none
  std::string usbId;         // "0403:6001", empty when not a USB device
  std::string driver;        // "ftdi_sio", "cp210x", "ch341", "cdc_acm", ...
  int latencyTimerMs = -1;   // FTDI only
  bool exists = false;
  bool mayOpen = false;
  std::string whyNot;        // group, mode, uaccess
  std::string holder;        // "name (pid N)"
  bool modemManagerRuns = false;
  bool modemManagerIgnores = false;  // ID_MM_DEVICE_IGNORE set by udev
  bool brlttyInstalled = false;
  std::vector<std::string> problems;  // each with its remedy
  bool usable() const { return problems.empty(); }
};

PortCheck fncCheckPort(int comPort, const std::string& path, const PortCheckRoots& roots = {});
// The report as the operator reads it, several lines.
std::string fncPortCheckText(const PortCheck& c);

}  // namespace vq::native
