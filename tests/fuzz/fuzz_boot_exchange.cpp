// The boot exchange's receive state machine driven directly (subBootReceive, subBootTimeout
// and the stage around them), with the port, tmrComm and the loop faked (fuzz_fakes.h):
// thousands of inputs a second, where fuzz_boot_receive plays every byte on the virtual line.
// Input: byte 0 picks the stage; bytes 1-2 how many of the PC's frames get a good status
// first (0-7, or with byte 1 at 0xFF 505-514, so the last write blocks and the completion
// status are reachable); then one op per wait of the program (see step()).
// Holds whatever the bytes: the state is one of the exchange's; while it waits, tmrComm is
// armed and the receive threshold is what the reply still lacks; once the script is spent
// the stage ends by its time-outs; a stage succeeds only on statuses good by their checksum
// and ACKs, fails with the code of the reply that failed it, and a reply that was waiting when
// the timer fired counts (no time-out with a whole status held by the port).
#include <exception>

#include "app/reset_all_state.h"
#include "base/boot_state.h"
#include "base/image_state.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/wizard_codes.h"
#include "flash/boot_exchange.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_frames.h"
#include "flash/boot_stages.h"
#include "fuzz/fuzz_fakes.h"

using namespace vq;

namespace {

constexpr auto verdict = fuzz::bootVerdict;

struct Stage {
  std::uint8_t (*run)();
  bool resends;  // the reset rule: a bad reply is answered by sending again
};
const Stage kStages[] = {
    {subBootConnect, true}, {subBootSetClock, false},    {subBootSetBaudRate, true}, {subBootChipErase, false},
    {subBootWrite, false},  {subBootSecuritySet, false}, {subBootVerify, false},
};

const Bytes& kAck5 = fuzz::kBootAck5;
const Bytes& kAck6 = fuzz::kBootAck6;
const Bytes& kNak5 = fuzz::kBootNak5;

bool isState(std::uint8_t s) {
  return s == bsDone || s == bsSend || s == bsWait || s == bsReceived || s == bsBlocksDone || s == bsFailed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  const std::uint8_t sel = in.byte();
  const int hi = in.byte(), lo = in.byte();
  const int answeredWell = hi == 0xFF ? 505 + lo % 10 : lo % 8;
  const Stage& stage = kStages[sel % 7];

  resetAllState();
  fuzz::FakePort port;
  fuzz::FakeTimer timer;
  fuzz::FakePlatform loop(in, timer);
  installPlatform(&loop, &port, &timer);
  fuzz::QuietProgress progress;
  std::vector<int> verdicts;
  // The exchange names its " RECV" state right before it evaluates gBootRx.
  progress.onLinkState = [&](const std::string& t) {
    if (t.find(" RECV") != std::string::npos) verdicts.push_back(verdict(gBootRx));
  };
  installProgress(&progress);
  port.onComm = [](CommEvent e) { subBootReceive(e); };
  timer.onTick = [] { subBootTimeout(); };
  for (std::size_t b = 0; b < gImage.size(); ++b) gImage[b].fill(std::uint8_t(b));

  // A good controller answers the first frames: a status per frame, two after the last write
  // block and after the security data frame, handed over at the next wait.
  int frames = 0;
  Bytes due;
  port.onOutput = [&](const Bytes& f) {
    if (f.size() < 2) return;  // the single sync bytes
    if (f.size() == 6 && f[0] == 0x01 && f[2] == 0x9A) return;  // the rate switch goes unanswered
    if (frames++ >= answeredWell) return;
    due = fuzz::goodBootAnswer(f);
  };
  loop.before = [&] {
    if (due.empty()) return false;
    Bytes b;
    b.swap(due);
    port.arrive(b, true);
    return true;
  };

  bool portFailed = false;
  // A tick with a whole reply already in the port: the reply counts, it is no time-out.
  auto tick = [&] {
    const bool whole = timer.armed() && gBootState == bsWait && gBootSurplus.size() + port.held.size() >= gBootRx.size();
    timer.fire();
    if (whole) VQ_FUZZ_CHECK(gBootState != bsFailed || gBootResult != kResultTimeout);
  };
  loop.step = [&](std::uint8_t op) {
    switch ((op & 0x7F) % 8) {
      case 0: port.arrive(in.take(in.byte() % 12 + 1), true); break;
      case 1: port.arrive(in.take(in.byte() % 12 + 1), false); break;  // its event still to come
      case 2: port.arrive(gBootRx.size() == kBlockStatusLen ? kAck6 : kAck5, true); break;
      case 3: tick(); break;
      case 4: port.raise(CommEvent::Send); break;
      case 5:
        if ((op & 0x40) && gBootState == bsWait) {
          portFailed = true;
          port.fail();
        } else {
          port.arrive(kNak5, true);
        }
        break;
      case 6:
        fuzz::serveStallEnd(port, tick, op & 0x40);
        break;
      default: port.arrive(in.take(in.byte() % 48 + 1), op & 0x40); break;
    }
    VQ_FUZZ_CHECK(isState(gBootState));
    VQ_FUZZ_CHECK(gBootRx.empty() || gBootRx.size() == kStatusLen || gBootRx.size() == kBlockStatusLen);
    if (gBootState == bsWait && gBootTimeout > 0) {
      VQ_FUZZ_CHECK(timer.armed());
      VQ_FUZZ_CHECK(gBootSurplus.size() < gBootRx.size());
      VQ_FUZZ_CHECK(port.rThreshold() == int(gBootRx.size() - gBootSurplus.size()));
    }
  };

  port.setSettings("9600,N,8,1");
  port.setRThreshold(0);
  port.setPortOpen(true);

  std::uint8_t result = 0;
  bool runTimeFailure = false;
  try {
    result = stage.run();
  } catch (const std::exception&) {
    runTimeFailure = true;  // step 5 turns it into 37 / code 30
  }

  const std::vector<int>& v = verdicts;
  VQ_FUZZ_CHECK(runTimeFailure || gBootState == bsDone || gBootState == bsFailed || gBootState == bsBlocksDone);
  // With the script spent, each wait ends by a time-out: at most one per resend.
  VQ_FUZZ_CHECK(loop.ticksAfterScript <= 2 * 17 + 2);
  fuzz::checkBootStageEnd(result, runTimeFailure, portFailed, stage.resends, stage.run == subBootSetBaudRate, v);
  installProgress(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
  return 0;
}
