// The instrument link's receive path: whatever bytes arrive, in whatever pieces and at
// whatever moments, against one of the three batches of steps 2 and 7 in progress.
// Input: byte 0 picks the batch (and the adapter's batching of received bytes), the rest are
// pieces (fuzz_support.h): each group goes out from the PC's next write on.
// Holds whatever the bytes: the batch ends, within its bound of virtual time after the last
// byte; a reply is taken as the answer only with a right checksum, an accepted status and the
// command of the request in flight.
#include <algorithm>

#include "app/reset_all_state.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "base/state.h"
#include "fuzz/fuzz_support.h"
#include "link/bas_command_send.h"
#include "link/link_engine.h"
#include "link/link_engine_state.h"

using namespace vq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  const std::uint8_t sel = in.byte();
  std::vector<fuzz::Piece> pieces = fuzz::readPieces(in);

  resetAllState();
  virt::VirtualPlatform p;
  fuzz::PlaybackDevice dev;
  fuzz::RecordingPort port(p.port);
  installPlatform(&p, &port, &p.timer);
  p.port.attach(&dev);
  p.port.coalesceUs = (sel >> 2 & 3) * 700;

  int calls = 0;
  port.onComm = [&](CommEvent e) {
    const Bytes before = gRxBuffer;
    const bool okBefore = gReplyOk;
    const int inFlight = gTxBuffer.size() > 5 ? gTxBuffer[5] : -1;
    const int call = ++calls;
    port.taken.clear();
    subCommReceive(e);
    // An event handled inside this one (the engine yields while it shows its state) took the
    // bytes and was checked on its own.
    if (call != calls) return;
    const bool accepted = !okBefore && gReplyOk && (gLinkBusy || gErrCode == 0);
    if (!accepted || e != CommEvent::Receive) return;
    // The reply just taken is the start of what had come in.
    Bytes all = before;
    all.insert(all.end(), port.taken.begin(), port.taken.end());
    VQ_FUZZ_CHECK(all.size() >= 10);
    VQ_FUZZ_CHECK(all.size() >= std::size_t(all[8]) + 10);
    VQ_FUZZ_CHECK(fuzz::linkChecksumRight(all));
    VQ_FUZZ_CHECK(fuzz::linkStatusAccepted(all[6]));
    VQ_FUZZ_CHECK(all[5] == inFlight);  // only the answer to the request in flight counts
  };
  p.timer.onTick = [] { subCommSend(); };

  std::int32_t n = fuzz::openLinkAndQueueBatch(port, sel);
  const bool waitsForInit = sel % 3 == 1;

  std::int64_t lastUs = 0;
  std::size_t next = 0;
  port.onOutput = [&](const Bytes&) {
    std::int64_t t = 0;
    next = dev.schedule(pieces, next, t);
    lastUs = std::max(lastUs, t);
  };
  subStartBatch(n);
  try {
    while (gLinkBusy) p.waitEvents();
  } catch (const virt::HangError&) {
    VQ_FUZZ_CHECK(!"the batch waited with nothing left to happen");
  }
  // After the last byte no reply can be accepted: the request in flight runs out of retries
  // (11 ticks), or the reply to 124 out of its wait. Line time and CTS polls add little.
  const std::int64_t boundUs = (waitsForInit ? kInitReplyLimitMs : 0) * 1000LL + 11 * (kLinkTickMs + 2) * 1000LL + 50'000;
  VQ_FUZZ_CHECK(p.clock.nowUs() <= std::max<std::int64_t>(lastUs, 0) + boundUs + 1'000'000);
  VQ_FUZZ_CHECK(gErrCode == 0 || gErrCode == kCodeLinkRetries || gErrCode == kCodeLinkTimeout);
  VQ_FUZZ_CHECK(!tmrComm().enabled());
  VQ_FUZZ_CHECK(gRxBuffer.empty());
  installPlatform(nullptr, nullptr, nullptr);
  return 0;
}
