// vq-sim's command line (parseSimOptions). Input: the arguments, separated by 0 bytes; a
// file named by --expect-file reads as its name's bytes (no file is opened).
// Holds whatever the bytes: the parse is the same twice; an accepted one gives an identity of
// 8 and 6 characters, times that are not negative, a mode reply of 1 or 7 bytes.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim_options.h"

using namespace vq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args = fuzz::argsOf(data, size);
  if (args.size() > 64) return 0;
  auto read = [](const std::string& path, Bytes& out) {
    if (path.empty() || path[0] == '!') return false;  // an unreadable file
    out.assign(path.begin(), path.end());
    return true;
  };

  sim::SimOptions o, o2;
  const auto why = sim::parseSimOptions(args, o, read);
  const auto why2 = sim::parseSimOptions(args, o2, read);
  VQ_FUZZ_CHECK(why == why2);
  if (why) {
    VQ_FUZZ_CHECK(!why->empty());
    return 0;
  }
  if (o.help) return 0;
  VQ_FUZZ_CHECK(o.id.model.size() == 8 && o.id.serial.size() == 6);
  VQ_FUZZ_CHECK(o.cfg.initDelayUs >= 0 && o.cfg.eraseUs >= 0 && o.cfg.programBlockUs >= 0 && o.cfg.completionUs >= 0);
  VQ_FUZZ_CHECK(o.cfg.securityFirstUs >= 0 && o.cfg.securitySecondUs >= 0 && o.cfg.dsrOnUs >= 0);
  VQ_FUZZ_CHECK(o.cfg.modeReplyLength == 1 || o.cfg.modeReplyLength == 7);
  return 0;
}
