// vq-update-cli: steps 2 to 7 of vq-update's wizard from a terminal or a script, on the same
// core; see cli_options.cpp for the options and the exit status.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "cli/console_io.h"
#include "platform/native/port_check.h"

int main(int argc, char** argv) {
  vq::cli::prepareConsole();
  std::vector<std::string> args(argv + 1, argv + argc);
  vq::cli::Options options;
  if (const auto refused = vq::cli::parseOptions(args, options)) {
    std::fprintf(stderr, "vq-update-cli: %s\n%s", refused->c_str(), vq::cli::kUsage);
    return vq::cli::kExitUsage;
  }
  if (options.help) {
    std::fputs(vq::cli::kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("vq-update-cli %s\n", VQ_VERSION);
    return 0;
  }
  if (options.listUnfinished) return vq::cli::listUnfinished();
  if (options.forget) return vq::cli::forgetUnfinished(options.forgetModel, options.forgetSerial);
  if (options.checkPort) {
    vq::native::ComPortMap map;
    for (const auto& [n, path] : options.pins) map.pin(n, path);
    return vq::native::fncCheckPorts(map, options.checkWhich, stdout);
  }
  vq::cli::Run run(std::move(options));
  return run.exec();
}
