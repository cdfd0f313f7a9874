// Why a serial port could not be opened or stopped working, as far as the system can tell,
// and the one line that tells the operator the cause and the remedy.
#pragma once
#include <string>

namespace vq {

struct PortProblem {
  enum class Kind {
    None,
    NoDevice,   // nothing at the path (or the COM number maps to no device)
    Gone,       // the device went away under the open port: the cable pulled, the adapter reset
    Forbidden,  // this user may not open it
    Busy,       // another program holds it
  };
  Kind kind = Kind::None;
  int comPort = 0;
  std::string device;  // the path looked for or opened
  std::string holder;  // "name (pid N)" of the program holding it, when the system can tell
};

// The cause and the remedy in the operator's language; empty for Kind::None.
std::string fncPortProblemText(const PortProblem& p);

}  // namespace vq
