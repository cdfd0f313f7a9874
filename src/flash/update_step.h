#pragma once

namespace vq {

// The flash work of step 5: image stage, boot-mode port, the flash stages in order (each only
// while all before it succeeded; the last result in gFlashResult), port closed.
void subRunFlashStages();

}  // namespace vq
