// The wizard's steps that hold the serial port: 2 and 7 (the instrument link) and 5 (the
// flash). Each puts its screen and buttons around the protocol's work.
#pragma once

namespace vq {

// Step 2: read the instrument's identity, settings and version.
void subStep2ReadParameters();
// Step 5: write, secure and verify the new firmware.
void subStep5FirmwareUpdate();
// Step 7: initialise the instrument's parameters, then write the saved ones back.
void subStep7UpdateParameters();

}  // namespace vq
