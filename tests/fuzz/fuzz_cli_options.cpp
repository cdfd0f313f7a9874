// vq-update-cli's command line (parseOptions). Input: the arguments, separated by 0 bytes.
// Holds whatever the bytes: the parse is the same twice; an accepted command line for an
// update names the port one way, has a file, and holds only values the window offers.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "base/comm_settings.h"
#include "cli/cli_options.h"
#include "config/frm_port_conf.h"
#include "fuzz/fuzz_support.h"
#include "image/file_checksum.h"

using namespace vq;

namespace {

template <class T>
bool listed(const T& list, const std::string& v) {
  return std::find_if(std::begin(list), std::end(list), [&](const char* x) { return v == x; }) != std::end(list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args = fuzz::argsOf(data, size, true);
  if (args.size() > 64) return 0;

  cli::Options o, o2;
  const auto why = cli::parseOptions(args, o);
  const auto why2 = cli::parseOptions(args, o2);
  VQ_FUZZ_CHECK(why == why2);
  if (why) {
    VQ_FUZZ_CHECK(!why->empty());
    return 0;
  }
  VQ_FUZZ_CHECK(o.updateBaud >= 0 && o.updateBaud < int(std::size(kUpdateBaudRates)));
  VQ_FUZZ_CHECK(listed(kCommBaudrates, o.baud) && listed(kDataBits, o.dataBits) && listed(kStopBits, o.stopBits));
  VQ_FUZZ_CHECK(o.parity.size() == 1 && std::string("ENOSM").find(o.parity) != std::string::npos);
  VQ_FUZZ_CHECK(o.flow >= 0 && o.flow <= 3);
  VQ_FUZZ_CHECK(o.langId == 0 || o.langId == 1041 || o.langId == 1033);
  VQ_FUZZ_CHECK(o.sha256.empty() || fncIsSha256Hex(o.sha256));
  VQ_FUZZ_CHECK(o.com >= 0 && o.com <= 255);
  if (o.help || o.version || o.listUnfinished || o.checkPort || o.forget) return 0;
  VQ_FUZZ_CHECK(!o.file.empty());
  VQ_FUZZ_CHECK(o.port.empty() != (o.com == 0));
  VQ_FUZZ_CHECK(!(o.resume && o.forced));
  return 0;
}
