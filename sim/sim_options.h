// vq-sim's command line, apart from main() so it can be checked on its own.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "fault_plan.h"
#include "pty_server.h"
#include "vq_device.h"

namespace vq::sim {

struct SimOptions {
  DeviceConfig cfg;
  Identity id;
  FaultPlan faults;
  PtyServerOptions opt;
  FwSwitch position = FwSwitch::Normal;
  bool startOff = false, erased = false;
  bool help = false;
  bool realtime = false;  // --realtime: ask for a real-time priority (root), go on without it
  std::string flashFile;
};

// Reads a file named on the command line (--expect-file); false when it cannot.
using ReadFileFn = std::function<bool(const std::string& path, Bytes& out)>;

// Parses argv[1..] into `out`; the message of the usage error when refused. --help stops
// the parse (out.help).
std::optional<std::string> parseSimOptions(const std::vector<std::string>& args, SimOptions& out,
                                           const ReadFileFn& readFile);

}  // namespace vq::sim
