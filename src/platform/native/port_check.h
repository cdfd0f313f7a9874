// --check-port (vq-update and vq-update-cli): what stands between this user and a serial
// device, each problem with its one-line remedy. Reads /dev, /sys and /proc (roots injectable
// for tests); on Windows the serial device map and the port itself.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "platform/native/com_port_map.h"

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
// --check-port [which]: which is "COMn", a device path, or empty for every serial device the
// system lists (and the pinned ones); the reports go to out. 0 when every port is usable.
int fncCheckPorts(const ComPortMap& map, const std::string& which, std::FILE* out);

}  // namespace vq::native
