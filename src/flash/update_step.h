#pragma once

namespace vq {

// Step 5: image stage, boot-mode port, the flash stages in order, port closed.
void subStep5FirmwareUpdate();

}  // namespace vq
