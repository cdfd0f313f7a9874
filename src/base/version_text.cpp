#include "base/version_text.h"

namespace vq {

std::string fncVersionText(std::uint8_t main, std::uint8_t rev) {
  return "Ver." + std::to_string(main / 10) + "." + std::to_string(main % 10) + "." + std::to_string(rev);
}

}  // namespace vq
