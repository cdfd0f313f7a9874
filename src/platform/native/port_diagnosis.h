// What the system can tell about a serial device that would not open: missing, forbidden to
// this user, or held by another program (and which).
#pragma once
#include <string>

#include "platform/port_problem.h"

namespace vq::native {

// Roots of the trees read, so tests can point them at fakes.
struct DiagnosisRoots {
  std::string proc = "/proc";
  std::string lock = "/var/lock";
  std::string dev = "/dev";  // what a lock file's name leaves out of the path (LCK..ttyUSB0)
};

// After an open refused for permission (EACCES, or a lock or TIOCEXCL held elsewhere).
PortProblem fncDiagnoseRefusedOpen(int comPort, const std::string& device, const DiagnosisRoots& roots = {});
// "name (pid N)" of a process other than this one that holds the device open, or a lock file
// under the name given or the name of the device it resolves to (a process that still runs);
// empty when none can be seen.
std::string fncPortHolder(const std::string& device, const DiagnosisRoots& roots = {});

}  // namespace vq::native
