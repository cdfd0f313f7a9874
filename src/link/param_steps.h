// The instrument-link work of steps 2 and 7; the wizard's step procedures run it inside
// subRunLinkStep with their screen around it.
#pragma once
#include <functional>

namespace vq {

// Opens mscComm with the chosen link settings, closing it first if a batch left it open.
void subOpenLinkPort();
// Step 2: reads the instrument's identity, settings and version. gErrCode 0 only when this
// batch stored a model name and a serial number.
void subReadParameterBatch();
// Step 7: initialises the instrument's parameters, then writes the saved ones back (also
// after a failed initialisation, whose code stands unless the write batch fails as well).
void subUpdateParameterBatches();
// Runs a link step's body: a failure thrown meanwhile becomes its code (11, 15, 99) and the
// engine is left idle.
void subRunLinkStep(const std::function<void()>& body);

}  // namespace vq
