// What the instrument keeps and the update carries across: identity, version, two settings,
// and whether the instrument reports PC mode.
#pragma once
#include <cstdint>
#include <string>

namespace vq {

extern std::string gModelName;     // 8 characters
extern std::string gSerialNo;      // 6 characters, e.g. " 12345"
extern std::uint8_t gCmd04Value;
extern std::uint8_t gCmd06Value;
extern std::uint8_t gFwVerMain;    // major * 10 + minor
extern std::uint8_t gFwVerRev;
extern bool gPcMode;

// Set by the parsers when a reply stored the model name or the serial number; step 2 clears
// them before its batch so it can tell a fresh identity from a stale or empty one.
extern bool gModelNameStored;
extern bool gSerialNoStored;

void resetParamStore();

}  // namespace vq
