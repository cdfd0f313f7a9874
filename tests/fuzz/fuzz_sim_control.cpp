// vq-sim's control lines (stdin and the --control socket): one command a line.
// Holds whatever the text: every line gets exactly one answer line, "ok ..." or "error ...",
// and the device model stays usable (it still reports its state).
#include <string>

#include "fuzz/fuzz_support.h"
#include "pty_server.h"
#include "vq_device.h"

using namespace vq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  virt::VirtualPlatform p;
  sim::VqDevice dev;
  p.port.attach(&dev);
  sim::PtyServer server(dev, {});
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    const std::string answer = server.command(text.substr(start, nl - start));
    start = nl + 1;
    VQ_FUZZ_CHECK(answer.rfind("ok", 0) == 0 || answer.rfind("error", 0) == 0);
    VQ_FUZZ_CHECK(answer.find('\n') == std::string::npos);
    p.clock.advance(1000);
    p.clock.runDue();
  }
  VQ_FUZZ_CHECK(server.command("status").rfind("ok mode=", 0) == 0);
  return 0;
}
