// PLACEHOLDER until the boot exchange lands.
#include "flash/boot_exchange.h"
namespace vq {
void subBootReceive(CommEvent) {}
void subBootTimeout() {}
}  // namespace vq
