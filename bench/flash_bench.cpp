// Step 5 of the real program against vq-sim answering without delay: wall time, CPU time of
// this process (it hosts the program) as a share of wall time, and the mean time added per
// block exchange beyond the 1 ms pause before each send.
//   flash_bench [RATE_INDEX] [--hidden]   writing rate index 0..5 (default 5, 153600 baud);
//   --hidden hides the window, to tell the cost of painting the progress from the exchanges'
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/program_on_sim.h"
#include "flash/boot_frames.h"
#include "flash/boot_state.h"

using namespace vq;
using namespace vq::e2e;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kSendPauseMs = 1.0;
constexpr double kSimVerifyThinkMs = 0.3;  // vq-sim's fixed time to compare a block

double cpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

double msBetween(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// Mean gap between consecutive block replies in [first, last): one exchange cycle each.
double meanCycleMs(const std::vector<Clock::time_point>& t, std::size_t first, std::size_t last) {
  if (last <= first + 1 || last > t.size()) return 0;
  return msBetween(t[first], t[last - 1]) / double(last - 1 - first);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int rate = 5;
  bool hidden = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--hidden") hidden = true;
    else rate = std::atoi(argv[i]);
  }

  SimProcess sim;
  const Bytes file = startInBootMode(sim, {"--erase-ms", "0", "--program-ms", "0", "--completion-ms", "0",
                                           "--security-ms", "0,0", "--dsr-ms", "0"});
  if (file.empty()) {
    std::fprintf(stderr, "flash_bench: %s\n", qPrintable(sim.error()));
    return 1;
  }

  ProgramOnSim prog(sim);
  if (hidden) prog.program->window.hide();
  // Time each block reply as the program receives it; CPU time from the first boot reply on.
  std::vector<Clock::time_point> blockReplies;
  blockReplies.reserve(1024);
  Clock::time_point firstReplyAt{};
  double cpuAtFirstReply = -1;
  auto inner = mscComm().onComm;
  mscComm().onComm = [&](CommEvent ev) {
    inner(ev);
    if (ev != CommEvent::Receive || gBootState != bsReceived) return;
    if (cpuAtFirstReply < 0) {
      cpuAtFirstReply = cpuMs();
      firstReplyAt = Clock::now();
    }
    if (gBootRx.size() == 6) blockReplies.push_back(Clock::now());
  };

  const double cpu0 = cpuMs();
  const auto t0 = Clock::now();
  prog.runStep5(file, std::uint8_t(rate));
  const auto t1 = Clock::now();
  const double cpu1 = cpuMs();
  sim.stop();
  const SimReport report = sim.readReport();

  const bool ok = gErrCode == 0 && report["flash_matches_update_file"] == "yes";
  const double wall = msBetween(t0, t1);
  const double exchWall = msBetween(firstReplyAt, t1);
  const double writeCycle = meanCycleMs(blockReplies, 0, 512);
  const double verifyCycle = meanCycleMs(blockReplies, 512, 1024);

  std::printf("flash_bench: writing rate %s, window %s, %s, %zu block replies\n", writingRateText(rate),
              hidden ? "hidden" : "shown", ok ? "flash verified" : "FAILED", blockReplies.size());
  std::printf("  wall time of step 5            %8.1f ms\n", wall);
  std::printf("  CPU (user+sys) / wall, step 5  %8.1f %%  (the image stage included)\n",
              100.0 * (cpu1 - cpu0) / wall);
  std::printf("  CPU (user+sys) / wall, boot    %8.1f %%  (from the first boot reply on)\n",
              100.0 * (cpu1 - cpuAtFirstReply) / exchWall);
  std::printf("  write block cycle              %8.3f ms  -> added %.3f ms beyond the 1 ms pause\n", writeCycle,
              writeCycle - kSendPauseMs);
  std::printf("  verify block cycle             %8.3f ms  -> added %.3f ms beyond the pause and vq-sim's %.1f ms\n",
              verifyCycle, verifyCycle - kSendPauseMs - kSimVerifyThinkMs, kSimVerifyThinkMs);
  return ok ? 0 : 1;
}
