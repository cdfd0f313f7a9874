// Windows refuses a port held by another program with "access denied" and does not name the
// holder; a user is never forbidden a COM port as such.
#include "platform/native/port_diagnosis.h"

namespace vq::native {

std::string fncPortHolder(const std::string&, const DiagnosisRoots&) { return ""; }

PortProblem fncDiagnoseRefusedOpen(int comPort, const std::string& device, const DiagnosisRoots&) {
  return {PortProblem::Kind::Busy, comPort, device, ""};
}

}  // namespace vq::native
