// Windows keeps an adapter's latency timer in its driver's settings (the FTDI driver's
// "Latency Timer" in Device Manager), not in a call a program makes: nothing to switch here.
#include "platform/native/low_latency.h"

namespace vq::native {

LowLatency::Ops LowLatency::systemOps() { return {}; }

bool LowLatency::enable(int) { return false; }

void LowLatency::restore(int) {}

}  // namespace vq::native
