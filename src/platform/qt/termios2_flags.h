// Raw termios2 access for what QSerialPort does not offer. Kept apart because <asm/termbits.h>
// clashes with <termios.h>; termios2 also keeps non-standard rates intact, tcsetattr may not.
#pragma once

namespace vq::qt {

// Adds Xon/Xoff in both directions to the device's current settings; false on failure.
bool addXonXoff(int fd);

}  // namespace vq::qt
