#include "base/param_store.h"

namespace vq {

std::string gModelName;
std::string gSerialNo;
std::uint8_t gCmd04Value = 0;
std::uint8_t gCmd06Value = 0;
std::uint8_t gFwVerMain = 0;
std::uint8_t gFwVerRev = 0;
bool gPcMode = false;
bool gModelNameStored = false;
bool gSerialNoStored = false;

void resetParamStore() {
  gModelName.clear();
  gSerialNo.clear();
  gCmd04Value = 0;
  gCmd06Value = 0;
  gFwVerMain = 0;
  gFwVerRev = 0;
  gPcMode = false;
  gModelNameStored = false;
  gSerialNoStored = false;
}

}  // namespace vq
