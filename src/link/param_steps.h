#pragma once

namespace vq {

// Step 2: read the instrument's identity, settings and version.
void subStep2ReadParameters();
// Step 7: initialise the instrument's parameters, then write the saved ones back.
void subStep7UpdateParameters();

}  // namespace vq
