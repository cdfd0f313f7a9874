#include "platform/native/port_check.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/native/port_diagnosis.h"

namespace vq::native {

namespace {

namespace fs = std::filesystem;

std::string firstLine(const fs::path& p) {
  std::ifstream in(p);
  std::string s;
  std::getline(in, s);
  return s;
}

// Where the check reads a real path: under the test's root when one is given.
fs::path under(const std::string& root, const std::string& realRoot, const fs::path& p) {
  const std::string s = p.string();
  if (root == realRoot || s.rfind(realRoot + "/", 0) != 0) return p;
  return fs::path(root) / s.substr(realRoot.size() + 1);
}

void findUsbIds(PortCheck& c, const fs::path& deviceDir) {
  std::error_code ec;
  for (fs::path d = fs::canonical(deviceDir, ec); !ec && d.has_relative_path(); d = d.parent_path()) {
    if (fs::exists(d / "idVendor") && fs::exists(d / "idProduct")) {
      c.usbId = firstLine(d / "idVendor") + ":" + firstLine(d / "idProduct");
      return;
    }
  }
}

bool processRuns(const std::string& proc, const std::string& name) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(proc, ec))
    if (firstLine(e.path() / "comm") == name) return true;
  return false;
}

std::string modeText(mode_t m) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04o", unsigned(m & 07777));
  return buf;
}

}  // namespace

PortCheck fncCheckPort(int comPort, const std::string& path, const PortCheckRoots& roots) {
  PortCheck c;
  c.comPort = comPort;
  c.path = path;
  const fs::path real = under(roots.dev, "/dev", path);
  std::error_code ec;
  c.exists = fs::exists(real, ec);
  if (!c.exists) {
    c.problems.push_back(path + " does not exist: plug the USB cable in (dmesg | tail names the device), or check --com.");
    return c;
  }
  const fs::path target = fs::weakly_canonical(real, ec);
  const std::string name = target.filename().string();

  for (const auto& e : fs::directory_iterator(fs::path(roots.dev) / "serial/by-id", ec))
    if (fs::weakly_canonical(e.path(), ec) == target) c.byId = "/dev/serial/by-id/" + e.path().filename().string();

  const fs::path tty = fs::path(roots.sys) / "class/tty" / name;
  c.driver = fs::read_symlink(tty / "device/driver", ec).filename().string();
  findUsbIds(c, tty / "device");
  if (fs::exists(tty / "device/latency_timer")) c.latencyTimerMs = std::atoi(firstLine(tty / "device/latency_timer").c_str());

  struct stat st {};
  const bool statted = ::stat(real.c_str(), &st) == 0;
  c.mayOpen = ::access(real.c_str(), R_OK | W_OK) == 0;
  if (!c.mayOpen && statted) {
    const group* g = ::getgrgid(st.st_gid);
    const std::string group = g ? g->gr_name : std::to_string(st.st_gid);
    c.whyNot = "group " + group + ", mode " + modeText(st.st_mode) + ", no uaccess entry for this user";
    c.problems.push_back(path + ": permission denied (" + c.whyNot + "): sudo usermod -aG " + group +
                         " $USER, then log out and in (or install the package's udev rule).");
  }
  c.holder = fncPortHolder(real.string(), {roots.proc, roots.lock, roots.dev});
  if (!c.holder.empty()) c.problems.push_back(path + " is held open by " + c.holder + ": close that program.");

  c.modemManagerRuns = processRuns(roots.proc, "ModemManager");
  if (statted && S_ISCHR(st.st_mode)) {
    const fs::path udev = fs::path(roots.run) / "udev/data" /
                          ("c" + std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev)));
    std::ifstream in(udev);
    for (std::string l; std::getline(in, l);)
      if (l == "E:ID_MM_DEVICE_IGNORE=1") c.modemManagerIgnores = true;
  }
  if (c.modemManagerRuns && !c.modemManagerIgnores)
    c.problems.push_back("ModemManager runs and would probe " + path +
                         ": install the package's udev rule (ID_MM_DEVICE_IGNORE) or stop ModemManager.");

  for (const std::string& b : roots.bin)
    if (fs::exists(fs::path(b) / "brltty")) c.brlttyInstalled = true;
  if (c.brlttyInstalled && c.driver == "ch341")
    c.problems.push_back("brltty is installed and takes CH34x adapters: sudo apt remove brltty.");
  if (c.latencyTimerMs > 1)
    c.problems.push_back("the FTDI latency timer is " + std::to_string(c.latencyTimerMs) +
                         " ms: echo 1 | sudo tee " + (fs::path("/sys/class/tty") / name / "device/latency_timer").string() +
                         " (the package's udev rule does it at every plug-in).");
  return c;
}

}  // namespace vq::native
