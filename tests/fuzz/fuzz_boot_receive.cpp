// The boot exchange's receive path: whatever the controller sends, in whatever pieces and at
// whatever moments, against the awaited status of one flash stage.
// Input: byte 0 picks the stage (and the adapter's batching), bytes 1-2 how many of the PC's
// frames get a good status first (0-7, or with byte 1 at 0xFF 505-514, so the last blocks and
// the write completion status are reachable without every input paying for 512 exchanges),
// the rest are pieces (fuzz_support.h): the first
// group goes out at the first frame not answered well, each further group at the next frame.
// Holds whatever the bytes: the stage ends within its longest time-out after the last byte;
// a stage succeeds only on statuses that are good by their checksum and ACKs; a failing
// stage returns the code of the reply that failed it.
#include <exception>
#include <string>

#include "app/reset_all_state.h"
#include "base/comm_settings.h"
#include "base/image_state.h"
#include "base/progress.h"
#include "base/state.h"
#include "flash/boot_exchange.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_stages.h"
#include "fuzz/fuzz_support.h"

using namespace vq;

namespace {

constexpr auto verdict = fuzz::bootVerdict;

// Forwards to the wizard's progress and notes the verdict on every reply a stage evaluates:
// the exchange names its " RECV" state right before it evaluates gBootRx.
class Witness : public Progress {
 public:
  std::vector<int> verdicts;
  void linkState(const std::string& t) override {
    if (t.find(" RECV") != std::string::npos) verdicts.push_back(verdict(gBootRx));
    formProgress().linkState(t);
  }
  void line(const std::string& t, ProgressLine how) override { formProgress().line(t, how); }
  void range(int m) override { formProgress().range(m); }
  void value(int v) override { formProgress().value(v); }
  void busy(bool on) override { formProgress().busy(on); }
  void showNow() override { formProgress().showNow(); }
};

struct Stage {
  std::uint8_t (*run)();
  int longestTimeoutMs;
  bool resends;  // the reset rule: a bad reply is answered by sending again
};
const Stage kStages[] = {
    {subBootConnect, 3000, true},      {subBootSetClock, 3000, false}, {subBootSetBaudRate, 3000, true},
    {subBootChipErase, 65535, false},  {subBootWrite, 3000, false},    {subBootSecuritySet, 4193, false},
    {subBootVerify, 3000, false},
};


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  const std::uint8_t sel = in.byte();
  const int hi = in.byte(), lo = in.byte();
  const int answeredWell = hi == 0xFF ? 505 + lo % 10 : lo % 8;
  const std::vector<fuzz::Piece> pieces = fuzz::readPieces(in);
  const Stage& stage = kStages[sel % 7];

  resetAllState();
  virt::VirtualPlatform p;
  fuzz::PlaybackDevice dev;
  fuzz::RecordingPort port(p.port);
  installPlatform(&p, &port, &p.timer);
  Witness witness;
  installProgress(&witness);
  p.port.attach(&dev);
  p.port.coalesceUs = (sel >> 3 & 3) * 1500;
  port.onComm = [](CommEvent e) { subBootReceive(e); };
  p.timer.onTick = [] { subBootTimeout(); };
  for (std::size_t b = 0; b < gImage.size(); ++b) gImage[b].fill(std::uint8_t(b));

  int frames = 0;
  std::size_t next = 0;
  std::int64_t lastUs = 0;
  port.onOutput = [&](const Bytes& f) {
    if (f.size() < 2) return;  // the single sync bytes
    const bool baudFrame = f.size() == 6 && f[0] == 0x01 && f[2] == 0x9A;
    if (baudFrame) return;     // the controller switches rates without a word
    if (frames++ < answeredWell) {
      // A good controller: a status per frame, two after the last write block and after the
      // security data frame.
      const Bytes reply = fuzz::goodBootAnswer(f);
      dev.host->after(500, [&dev, reply] { dev.host->transmit(reply); });
      lastUs = std::max(lastUs, dev.host->nowUs() + 500);
      return;
    }
    std::int64_t t = 0;
    next = dev.schedule(pieces, next, t);
    lastUs = std::max(lastUs, t);
  };

  port.setSettings("9600,N,8,1");
  port.setRThreshold(0);
  port.setPortOpen(true);

  std::uint8_t result = 0;
  bool runTimeFailure = false;
  try {
    result = stage.run();
  } catch (const virt::HangError&) {
    VQ_FUZZ_CHECK(!"the stage waited with nothing left to happen");
  } catch (const std::exception&) {
    runTimeFailure = true;  // step 5 turns it into 37 / code 30
  }

  const std::vector<int>& v = witness.verdicts;
  // A reply is evaluated only once its line time has passed, and each frame's own line time
  // at 9600 (at most 271 ms for a block) comes before its time-out.
  VQ_FUZZ_CHECK(p.clock.nowUs() <= lastUs + (stage.longestTimeoutMs + 1500) * 1000LL);
  fuzz::checkBootStageEnd(result, runTimeFailure, false, stage.resends, stage.run == subBootSetBaudRate, v);
  installProgress(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
  return 0;
}
