#include "platform/native/port_diagnosis.h"

#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/native/serial_device.h"

namespace vq::native {

namespace {

namespace fs = std::filesystem;

std::string processName(const std::string& proc, const std::string& pid) {
  std::ifstream in(proc + "/" + pid + "/comm");
  std::string name;
  std::getline(in, name);
  return name.empty() ? "pid " + pid : name + " (pid " + pid + ")";
}

bool allDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// The pid in a serial lock file (LCK..ttyUSB0), as Qt and other programs write it, under
// either name of the device (the name given, the device's own), while that process runs;
// empty when no such lock names another process.
std::string lockHolder(const std::string& device, const DiagnosisRoots& roots, const std::string& self) {
  for (const std::string& name : SerialDevice::lockFileNames(device, roots.dev)) {
    std::ifstream in(roots.lock + "/" + name);
    std::string pid;
    in >> pid;
    if (!allDigits(pid) || pid.size() > 9 || pid == self) continue;
    // Gone (neither in the proc tree read nor known to the system): a stale lock, which the
    // next opener takes over.
    const long n = std::stol(pid);
    std::error_code ec;
    if (n > 0 && (fs::exists(fs::path(roots.proc) / pid, ec) || ::kill(pid_t(n), 0) == 0 || errno == EPERM)) return pid;
  }
  return "";
}

}  // namespace

std::string fncPortHolder(const std::string& device, const DiagnosisRoots& roots) {
  const std::string self = std::to_string(::getpid());
  std::error_code ec;
  const fs::path target = fs::weakly_canonical(device, ec);
  for (const auto& entry : fs::directory_iterator(roots.proc, ec)) {
    const std::string pid = entry.path().filename().string();
    if (!allDigits(pid) || pid == self) continue;
    std::error_code fdEc;
    for (const auto& fd : fs::directory_iterator(entry.path() / "fd", fdEc)) {
      std::error_code linkEc;
      if (fs::read_symlink(fd.path(), linkEc) == target && !linkEc) return processName(roots.proc, pid);
    }
  }
  // Not visible in /proc (another user's process): a lock file may still name it.
  const std::string pid = lockHolder(device, roots, self);
  return pid.empty() ? "" : processName(roots.proc, pid);
}

PortProblem fncDiagnoseRefusedOpen(int comPort, const std::string& device, const DiagnosisRoots& roots) {
  PortProblem p{PortProblem::Kind::Busy, comPort, device, ""};
  if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
    p.kind = PortProblem::Kind::Forbidden;
    return p;
  }
  p.holder = fncPortHolder(device, roots);
  return p;
}

}  // namespace vq::native
