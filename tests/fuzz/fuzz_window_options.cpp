// vq-update's command line (parseWindowOptions). Input: the arguments, separated by 0 bytes.
// Holds whatever the bytes: the parse is the same twice; every pinned COM number is one the
// port dialog offers, with a path; an accepted line for the window has the autopilot's
// folder and file together or neither.
#include <string>
#include <vector>

#include "front/window_options.h"
#include "fuzz/fuzz_support.h"

using namespace vq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = fuzz::argsOf(data, size, true);
  if (args.size() > 64) return 0;

  front::WindowOptions o, o2;
  const auto why = front::parseWindowOptions(args, o);
  const auto why2 = front::parseWindowOptions(args, o2);
  VQ_FUZZ_CHECK(why == why2);
  VQ_FUZZ_CHECK(o.map.pins() == o2.map.pins() && o.trace == o2.trace && o.checkWhich == o2.checkWhich);
  for (const auto& [number, path] : o.map.pins()) VQ_FUZZ_CHECK(number >= 1 && number <= 255 && !path.empty());
  if (why) {
    VQ_FUZZ_CHECK(!why->empty());
    return 0;
  }
  if (!o.version && !o.checkPort) VQ_FUZZ_CHECK(o.autopilotDir.empty() == o.autopilotFile.empty());
  return 0;
}
