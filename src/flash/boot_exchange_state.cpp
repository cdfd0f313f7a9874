#include "flash/boot_exchange_state.h"

#include "flash/boot_exchange.h"

namespace vq {

Bytes gBootTx;
Bytes gBootRx;
std::int32_t gBootTimeout = 0;
std::uint8_t gBootRetry = 0;
std::uint8_t gBootResult = 0;
Bytes gBootSurplus;

void resetBootExchangeState() {
  gBootTx.clear();
  gBootRx.clear();
  gBootTimeout = 0;
  gBootRetry = 0;
  gBootResult = 0;
  gBootSurplus.clear();
}

}  // namespace vq
