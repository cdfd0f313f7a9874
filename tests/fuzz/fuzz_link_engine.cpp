// The instrument link engine's receive state machine driven directly (subCommReceive,
// subCommSend: what the port's events and tmrComm's ticks call in steps 2 and 7), with the
// port, tmrComm and the loop faked (fuzz_fakes.h): thousands of inputs a second, where
// fuzz_link_receive plays every byte on the virtual line.
// Input: byte 0 picks one of the three batches; then one op per wait of the program (see
// step()), an op with its top bit set may also run inside a yield of the engine.
// Holds whatever the bytes: the counters stay in range; what stays in the receive buffer is
// a reply still incomplete; a reply is taken as the answer only with a right checksum, an
// accepted status and the command of the request in flight; once the script is spent the
// batch ends within its repeats; it ends with no code, 12 or 13, the timer off and the buffer
// empty; a whole reply waiting in the port when the tick fires is not counted as silence.
#include <algorithm>

#include "app/reset_all_state.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "base/progress.h"
#include "base/state.h"
#include "fuzz/fuzz_fakes.h"
#include "link/bas_command_send.h"
#include "link/bas_function.h"
#include "link/link_engine.h"
#include "link/link_engine_state.h"

using namespace vq;

namespace {

Bytes reply(std::uint8_t cmd, std::uint8_t status, std::uint8_t direction, const Bytes& data) {
  Bytes f(5, 0xFF);
  f.insert(f.end(), {cmd, status, direction, std::uint8_t(data.size())});
  f.insert(f.end(), data.begin(), data.end());
  std::uint8_t x = 0;
  for (std::size_t i = 5; i < f.size(); ++i) x ^= f[i];
  f.push_back(x);
  return f;
}

// The data a good instrument gives with each command, so the parsers take the reply.
Bytes dataFor(std::uint8_t cmd, std::uint8_t pick) {
  switch (cmd) {
    case 127: return Bytes{std::uint8_t(pick % 3), 0, 0, 0, 0, 0, 0};
    case 1: return Bytes{'V', 'Q', '-', '1', '0', '0', '0', 'A'};
    case 2: return Bytes{' ', '1', '2', '3', '4', '5'};
    case 4: case 5: case 6: return Bytes{pick, 0};
    default: return {};
  }
}

const std::uint8_t kStatuses[] = {0, 0, 0, 51, 31, 54, 1, 99};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  const std::uint8_t sel = in.byte();

  resetAllState();
  fuzz::FakePort port;
  fuzz::FakeTimer timer;
  fuzz::FakePlatform loop(in, timer);
  installPlatform(&loop, &port, &timer);
  fuzz::QuietProgress progress;
  installProgress(&progress);

  // Each handler is checked on its own: one that ran inside it (a yield) took the bytes.
  int calls = 0;
  auto checked = [&](auto handler) {
    const Bytes before = gRxBuffer;
    const Bytes held = port.held;
    const bool okBefore = gReplyOk;
    const int inFlight = gTxBuffer.size() > kCommandOffset ? gTxBuffer[kCommandOffset] : -1;
    const int call = ++calls;
    handler();
    VQ_FUZZ_CHECK(gRetryCount >= 0 && gRetryCount <= kLinkRetryLimit + 1);
    VQ_FUZZ_CHECK(gReqRemain >= -1 && gReqRemain <= gReqLast);
    VQ_FUZZ_CHECK(gBusyReplies >= 0 && gBusyReplies <= kBusyReplyLimit + 1);
    // What stays is the start of a reply: unknown length, or shorter than announced.
    if (gRxBuffer.size() > kLengthOffset)
      VQ_FUZZ_CHECK(gRxBuffer.size() < std::size_t(gRxBuffer[kLengthOffset]) + kReplyOverhead);
    if (call != calls) return;
    const bool accepted = !okBefore && gReplyOk && gLinkPortError == 0 && (gLinkBusy || gErrCode == 0);
    if (!accepted) return;
    Bytes all = before;
    all.insert(all.end(), held.begin(), held.end());
    VQ_FUZZ_CHECK(all.size() >= kReplyOverhead && all.size() >= std::size_t(all[kLengthOffset]) + kReplyOverhead);
    VQ_FUZZ_CHECK(fuzz::linkChecksumRight(all));
    VQ_FUZZ_CHECK(fuzz::linkStatusAccepted(all[6]));
    VQ_FUZZ_CHECK(all[5] == inFlight);  // only the answer to the request in flight counts
  };
  port.onComm = [&](CommEvent e) { checked([e] { subCommReceive(e); }); };
  timer.onTick = [&] { checked([] { subCommSend(); }); };

  // A tick with a whole, right answer to the request in flight already in the port: it counts.
  auto tick = [&] {
    const bool answered = timer.armed() && gLinkBusy && !gReplyOk && gRxBuffer.empty() && port.held.size() >= kReplyOverhead &&
                          port.held.size() == std::size_t(port.held[kLengthOffset]) + kReplyOverhead &&
                          fuzz::linkChecksumRight(port.held) && port.held[6] == 0 && gTxBuffer.size() > kCommandOffset &&
                          port.held[5] == gTxBuffer[kCommandOffset];
    const std::int32_t remain = gReqRemain;
    timer.fire();
    // Not sent again as unanswered (a yield inside may have sent the next request already).
    if (answered) VQ_FUZZ_CHECK(!gLinkBusy || gReqRemain <= remain);
  };
  auto answer = [&](std::uint8_t status, bool ownCommand, std::uint8_t pick) {
    if (gTxBuffer.size() <= kLengthOffset) return Bytes{};
    const std::uint8_t cmd = ownCommand ? gTxBuffer[kCommandOffset] : std::uint8_t(pick);
    return reply(cmd, status, gTxBuffer[7], dataFor(cmd, pick));
  };
  loop.step = [&](std::uint8_t op) {
    switch ((op & 0x7F) % 8) {
      case 0: port.arrive(in.take(in.byte() % 12 + 1), true); break;
      case 1: port.arrive(in.take(in.byte() % 12 + 1), false); break;  // its event still to come
      case 2: {
        const std::uint8_t b = in.byte();
        const Bytes r = answer(kStatuses[b % 8], true, b >> 3);
        if (op & 0x40) {
          const std::size_t cut = std::min<std::size_t>(r.size(), b % 12);
          port.arrive(Bytes(r.begin(), r.begin() + std::ptrdiff_t(cut)), true);
          port.arrive(Bytes(r.begin() + std::ptrdiff_t(cut), r.end()), true);
        } else {
          port.arrive(r, true);
        }
        break;
      }
      case 3: tick(); break;
      case 4:
        port.cts = !port.cts;
        port.raise(CommEvent::CtsChange);
        break;
      case 5:
        if (op & 0x40) port.fail();
        else port.arrive(answer(0, false, in.byte()), true);  // a late answer to another request
        break;
      case 6:
        fuzz::serveStallEnd(port, tick, op & 0x40);
        break;
      default: {
        const std::uint8_t b = in.byte();
        const Bytes r = reply(gTxBuffer.size() > kCommandOffset ? gTxBuffer[kCommandOffset] : 0, 0, op & 1, in.take(b % 16));
        port.arrive(r, !(op & 0x40));
        break;
      }
    }
  };

  std::int32_t n = fuzz::openLinkAndQueueBatch(port, sel);
  // As the steps do: a port that failed under the batch is thrown to them and ends it.
  try {
    subRunBatch(n);
  } catch (const SerialError& e) {
    VQ_FUZZ_CHECK(!port.portOpen());
    gErrCode = fncLinkCodeOfPortError(e.number);
    if (gLinkBusy) subEndBatch(BatchEnd::PortFailed);
  }

  // Spent script: a reply left waiting in the port is taken by a tick, the next request
  // sent by the next, which then runs out of repeats (11 ticks), or clear-to-send of its
  // polls, or the reply to 124 out of its one bound.
  VQ_FUZZ_CHECK(loop.ticksAfterScript <= kLinkRetryLimit + 4);
  VQ_FUZZ_CHECK(!gLinkBusy);
  VQ_FUZZ_CHECK(gErrCode == 0 || gErrCode == kCodeLinkRetries || gErrCode == kCodeLinkTimeout ||
                (!port.portOpen() && gErrCode == kCodeUnknown));
  VQ_FUZZ_CHECK(!tmrComm().enabled());
  VQ_FUZZ_CHECK(gRxBuffer.empty());
  installProgress(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
  return 0;
}
