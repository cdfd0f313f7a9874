// Step 5 of the real program against vq-sim answering without delay: wall time, CPU time of
// this process (it hosts the program) as a share of wall time, and the mean time added per
// block exchange beyond the 1 ms pause before each send. Step 5 runs several times, each
// against a fresh vq-sim, and the medians are printed: a virtual machine's CPU accounting
// varies by a point or more from one run to the next.
//   flash_bench [RATE_INDEX] [--runs N] [--hidden] [--shared-core]
//   RATE_INDEX 0..5 (default 5, 153600 baud); N runs (default 5); --hidden hides the window, to
//   tell the cost of painting the progress from the exchanges'; --shared-core leaves this
//   process and vq-sim to the scheduler instead of a core each (see pinApart).
#include <sched.h>
#include <sys/resource.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/boot_state.h"
#include "e2e/program_on_sim.h"
#include "e2e/protocol_limit.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_frames.h"

using namespace vq;
using namespace vq::e2e;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kSendPauseMs = 1.0;
constexpr double kSimVerifyThinkMs = 0.3;  // vq-sim's fixed time to compare a block

struct Options {
  int rate = 5;
  int runs = 5;
  bool hidden = false;
  bool sharedCore = false;
};

struct Run {
  bool ok = false;
  bool apart = false;
  double wallMs = 0;
  double stepCpu = 0;  // % of wall, the image stage included
  double bootCpu = 0;  // % of wall from the first boot reply on
  double writeCycleMs = 0;
  double verifyCycleMs = 0;
  double limitMs = 0;  // the prescribed pauses and the device's delays
};

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

// vq-sim stands for the instrument, which has a processor of its own: this process and the
// simulator each get a core of their own (two of the cores this process was allowed at start,
// which later runs inherit the pinning from). Left to the scheduler, this process is moved
// between the cores at its wake-ups and shares them with the simulator and the
// pseudo-terminal's kernel worker; that costs about a point of CPU share on a virtual machine,
// none of it the program's own work.
bool pinApart(const cpu_set_t& allowed, qint64 simPid) {
  int cpus[2], found = 0;
  for (int c = 0; c < CPU_SETSIZE && found < 2; ++c)
    if (CPU_ISSET(c, &allowed)) cpus[found++] = c;
  if (found < 2) return false;
  cpu_set_t mine, its;
  CPU_ZERO(&mine);
  CPU_ZERO(&its);
  CPU_SET(cpus[0], &mine);
  CPU_SET(cpus[1], &its);
  return sched_setaffinity(0, sizeof mine, &mine) == 0 && sched_setaffinity(pid_t(simPid), sizeof its, &its) == 0;
}

Run runStep5Once(const Options& o, const cpu_set_t& allowed) {
  Run r;
  SimProcess sim;
  const Bytes file = startInBootMode(sim, {"--erase-ms", "0", "--program-ms", "0", "--completion-ms", "0",
                                           "--security-ms", "0,0", "--dsr-ms", "0"});
  if (file.empty()) {
    std::fprintf(stderr, "flash_bench: %s\n", qPrintable(sim.error()));
    return r;
  }
  r.apart = !o.sharedCore && pinApart(allowed, sim.pid());

  ProgramOnSim prog(sim);
  if (o.hidden) prog.program->window.hide();
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
  prog.runStep5(file, std::uint8_t(o.rate));
  const auto t1 = Clock::now();
  const double cpu1 = cpuMs();
  sim.stop();
  const SimReport report = sim.readReport();

  r.ok = gErrCode == 0 && report["flash_matches_update_file"] == "yes" && blockReplies.size() == 1024;
  r.wallMs = msBetween(t0, t1);
  r.stepCpu = 100.0 * (cpu1 - cpu0) / r.wallMs;
  r.bootCpu = 100.0 * (cpu1 - cpuAtFirstReply) / msBetween(firstReplyAt, t1);
  // vq-sim does not pace the line here, so the limit is the pauses and the device's delays.
  const ProtocolLimit lim = protocolLimit(report, 0);
  r.limitMs = (lim.bootDeviceUs + lim.bootPauseUs) / 1e3;
  r.writeCycleMs = meanCycleMs(blockReplies, 0, 512);
  r.verifyCycleMs = meanCycleMs(blockReplies, 512, 1024);
  return r;
}

double median(std::vector<Run>& runs, double Run::*field) {
  std::sort(runs.begin(), runs.end(), [field](const Run& a, const Run& b) { return a.*field < b.*field; });
  return runs[runs.size() / 2].*field;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--hidden") o.hidden = true;
    else if (a == "--shared-core") o.sharedCore = true;
    else if (a == "--runs" && i + 1 < argc) o.runs = std::max(1, std::atoi(argv[++i]));
    else o.rate = std::atoi(a.c_str());
  }

  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) CPU_ZERO(&allowed);
  std::vector<Run> runs;
  for (int i = 0; i < o.runs; ++i) {
    runs.push_back(runStep5Once(o, allowed));
    const Run& r = runs.back();
    if (!r.ok) {
      std::fprintf(stderr, "flash_bench: run %d did not verify the flash\n", i + 1);
      return 1;
    }
    std::printf("  run %d: %s, wall %.1f ms, CPU %.1f %% (boot %.1f %%), write cycle %.3f ms, verify cycle %.3f ms\n",
                i + 1, r.apart ? "own cores" : "shared", r.wallMs, r.stepCpu, r.bootCpu, r.writeCycleMs, r.verifyCycleMs);
  }

  std::printf("flash_bench: writing rate %s, window %s, vq-sim %s, flash verified, median of %d runs\n",
              writingRateText(o.rate), o.hidden ? "hidden" : "shown",
              runs.front().apart ? "on a core of its own" : "sharing cores", o.runs);
  const double wallMs = median(runs, &Run::wallMs);
  const double limitMs = median(runs, &Run::limitMs);
  std::printf("  wall time of step 5            %8.1f ms\n", wallMs);
  std::printf("  protocol limit (pauses + device delays; the line unpaced) %8.1f ms -> limit / wall %.3f\n", limitMs,
              limitMs / wallMs);
  std::printf("  CPU (user+sys) / wall, step 5  %8.1f %%  (the image stage included)\n", median(runs, &Run::stepCpu));
  std::printf("  CPU (user+sys) / wall, boot    %8.1f %%  (from the first boot reply on)\n", median(runs, &Run::bootCpu));
  const double write = median(runs, &Run::writeCycleMs);
  std::printf("  write block cycle              %8.3f ms  -> added %.3f ms beyond the 1 ms pause\n", write,
              write - kSendPauseMs);
  const double verify = median(runs, &Run::verifyCycleMs);
  std::printf("  verify block cycle             %8.3f ms  -> added %.3f ms beyond the pause and vq-sim's %.1f ms\n",
              verify, verify - kSendPauseMs - kSimVerifyThinkMs, kSimVerifyThinkMs);
  return 0;
}
