#include <algorithm>

#include "link/bas_function.h"
#include "link/link_engine_state.h"
#include "unit/link/link_fixture.h"

namespace vq::test {
namespace {

constexpr std::int64_t kTickUs = kLinkTickMs * 1000;

// The default reply of the fake to a request, cut into pieces `gapUs` apart.
Pieces split(const Bytes& whole, std::vector<std::size_t> cuts, std::int64_t gapUs) {
  Pieces out;
  std::size_t from = 0;
  cuts.push_back(whole.size());
  for (std::size_t c : cuts) {
    out.push_back({out.empty() ? 300 : gapUs, Bytes(whole.begin() + std::ptrdiff_t(from), whole.begin() + std::ptrdiff_t(c))});
    from = c;
  }
  return out;
}

using Engine = LinkFixture;

TEST_F(Engine, ReadBatchFillsTheStoreAndClosesThePort) {
  openPort();
  runBatch(queueReadBatch);
  EXPECT_EQ(gErrCode, 0);
  EXPECT_EQ(writtenCommands(), (std::vector<int>{127, 1, 2, 4, 5, 6, 127}));
  EXPECT_EQ(gModelName, "VQA-7001");
  EXPECT_EQ(gSerialNo, " 54321");
  EXPECT_EQ(gCmd04Value, 5);
  EXPECT_EQ(gCmd06Value, 7);
  EXPECT_EQ(gFwVerMain, 12);
  EXPECT_EQ(gFwVerRev, 3);
  EXPECT_FALSE(gPcMode);
  EXPECT_FALSE(p->port.portOpen());  // the closing mode request ended PC mode
  EXPECT_FALSE(p->timer.enabled());
  EXPECT_EQ(gReqLast, 0);
  EXPECT_EQ(gReqRemain, -1);
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "Ready");
  EXPECT_TRUE(dev->violations.empty()) << dev->violations.front();
}

TEST_F(Engine, NextRequestGoesOutOneTickAfterTheReply) {
  openPort();
  runBatch(queueReadBatch);
  ASSERT_EQ(p->port.written.size(), 7u);
  EXPECT_EQ(p->port.written[0].atUs, 0);
  for (std::size_t k = 1; k < 7; ++k) {
    const std::int64_t sent = p->port.written[k].atUs;
    const std::int64_t replied = *std::prev(std::lower_bound(rxEventsUs.begin(), rxEventsUs.end(), sent));
    EXPECT_EQ(sent - replied, kTickUs) << k;
  }
}

TEST_F(Engine, InitialiseIsNeitherRepeatedNorTimedOutWhileTheInstrumentWorks) {
  for (std::int64_t delay : {std::int64_t(5'000), std::int64_t(2'000'000), std::int64_t(59'900'000)}) {
    fresh();
    dev->initDelayUs = delay;
    openPort();
    runBatch(queueInitBatch);
    EXPECT_EQ(gErrCode, 0) << delay;
    EXPECT_EQ(dev->count(124), 1) << delay;
    EXPECT_EQ(p->timer.interval(), kLinkTickMs) << delay;
    EXPECT_TRUE(p->port.portOpen()) << delay;  // the instrument stays in PC mode
    EXPECT_EQ(dev->inits, 1) << delay;
  }
}

TEST_F(Engine, SilentInitialiseFailsWithTimeoutAfterSixtySeconds) {
  dev->script = FakeInstrument::silentOn(124);
  openPort();
  runBatch(queueInitBatch);
  EXPECT_EQ(gErrCode, 13);
  EXPECT_EQ(dev->count(124), 1);
  EXPECT_EQ(p->clock.nowUs() - lastWriteOf(124), 60'000'000);
  EXPECT_FALSE(gLinkBusy);
  EXPECT_FALSE(p->timer.enabled());
  EXPECT_EQ(p->timer.interval(), kLinkTickMs);
}

TEST_F(Engine, ReplyInPiecesIsAssembled) {
  const struct {
    const char* name;
    std::vector<std::size_t> cuts;
    std::int64_t coalesceUs;  // 0: every byte is a read of its own
  } cases[] = {
      {"8 then rest", {8}, 1000},
      {"9 then rest", {9}, 1000},
      {"4, 5, rest", {4, 9}, 1000},
      {"each byte", {}, 0},
  };
  for (const auto& c : cases) {
    fresh();
    p->port.coalesceUs = c.coalesceUs;
    dev->script = [&](const InstrumentFrame& r, int) -> std::optional<Pieces> {
      if (r.Command != 1) return std::nullopt;
      return split(replyFrame(1, 0, 0, textBytes("ABCDEFGH")), c.cuts, 2000);
    };
    openPort();
    runBatch(queueReadBatch);
    EXPECT_EQ(gErrCode, 0) << c.name;
    EXPECT_EQ(gModelName, "ABCDEFGH") << c.name;
    EXPECT_EQ(dev->count(1), 1) << c.name;
  }
}

TEST_F(Engine, FirstReceptionShorterThanNineBytesWaitsForMore) {
  p->port.coalesceUs = 1000;
  dev->script = [](const InstrumentFrame&, int) -> std::optional<Pieces> {
    return split(replyFrame(127, 0, 1, {1}), {8}, 3000);
  };
  openPort();
  startModeRequest();
  ASSERT_TRUE(p->runUntil([] { return gRxBuffer.size() == 8; }, 5000));
  EXPECT_FALSE(gReplyOk);
  EXPECT_TRUE(p->timer.enabled());
  EXPECT_EQ(gRxExpected, 255);
  ASSERT_TRUE(p->runUntil([] { return !gLinkBusy; }, 100000));
  EXPECT_EQ(gErrCode, 0);
  EXPECT_TRUE(gPcMode);
}

TEST_F(Engine, BytesAfterTheFrameInTheSameReadAreDropped) {
  p->port.coalesceUs = 1000;
  dev->script = [](const InstrumentFrame& r, int) -> std::optional<Pieces> {
    if (r.Command != 1) return std::nullopt;
    Bytes b = replyFrame(1, 0, 0, textBytes("ABCDEFGH"));
    b.insert(b.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 6});  // the start of another frame
    return Pieces{{300, b}};
  };
  openPort();
  runBatch(queueReadBatch);
  EXPECT_EQ(gErrCode, 0);
  EXPECT_EQ(gModelName, "ABCDEFGH");
  EXPECT_EQ(gSerialNo, " 54321");
  EXPECT_EQ(dev->count(2), 1);  // the surplus did not spoil the next reply
}

TEST_F(Engine, SilenceFailsAfterTenRepeats) {
  dev->script = FakeInstrument::silentOn(1);
  openPort();
  runBatch(queueReadBatch);
  EXPECT_EQ(gErrCode, 12);
  EXPECT_EQ(dev->count(1), 11);
  const auto first = std::find_if(p->port.written.begin(), p->port.written.end(),
                                  [](const virt::LineRecord& w) { return w.bytes[5] == 1; });
  EXPECT_EQ(p->clock.nowUs() - first->atUs, 11 * kTickUs);
  EXPECT_TRUE(p->port.portOpen());  // the opening mode request put the instrument in PC mode
}

TEST_F(Engine, BusyRepliesRestartTheRetryCountUpToTheirBound) {
  const struct {
    const char* name;
    int firstBusy, lastBusy;  // which sends of request 1 are answered busy
    bool answeredAfter;       // the send after them gets the reply, or silence
    std::uint8_t code;
    int sends;
  } cases[] = {
      {"five silent sends, one busy reply, then silence", 6, 6, false, 12, 6 + 10},
      {"busy a while, then the answer", 1, 500, true, 0, 501},
      {"busy for ever: given up at the bound", 1, 1 << 30, false, 12, kBusyReplyLimit + 10},
  };
  for (const auto& c : cases) {
    fresh();
    dev->script = [&](const InstrumentFrame& r, int nth) -> std::optional<Pieces> {
      if (r.Command != 1) return std::nullopt;
      if (nth >= c.firstBusy && nth <= c.lastBusy) return Pieces{{300, replyFrame(1, 51, 0, {})}};
      if (nth > c.lastBusy && c.answeredAfter) return std::nullopt;
      return Pieces{};
    };
    openPort();
    runBatch(queueReadBatch);
    EXPECT_EQ(gErrCode, c.code) << c.name;
    EXPECT_EQ(dev->count(1), c.sends) << c.name;
    if (c.code != 0 && c.lastBusy < kBusyReplyLimit) {  // the last reply, then 11 silent ticks
      EXPECT_EQ(p->clock.nowUs() - rxEventsUs.back(), 11 * kTickUs) << c.name;
    }
  }
}

TEST_F(Engine, RepliesThatDoNotCountAreRepeated) {
  auto spoil = [](Bytes b) {
    b.back() ^= 0x01;
    return b;
  };
  Bytes foreignSync = replyFrame(1, 0, 0, textBytes("ABCDEFGH"));
  std::fill_n(foreignSync.begin(), 5, 0x00);
  const struct {
    const char* name;
    Bytes reply;
    bool answered;
  } cases[] = {
      {"good", replyFrame(1, 0, 0, textBytes("ABCDEFGH")), true},
      {"wrong checksum", spoil(replyFrame(1, 0, 0, textBytes("ABCDEFGH"))), false},
      {"status 0x0A rejected", replyFrame(1, 0x0A, 0, textBytes("ABCDEFGH")), false},
      {"status 0x1F accepted", replyFrame(1, 0x1F, 0, textBytes("ABCDEFGH")), true},
      {"status 0x36 accepted", replyFrame(1, 0x36, 0, textBytes("ABCDEFGH")), true},
      {"busy", replyFrame(1, 51, 0, textBytes("ABCDEFGH")), false},
      {"sync bytes not FF", foreignSync, true},
      {"reply to another command: stale, not the answer", replyFrame(2, 0, 0, textBytes("ABCDEFGH")), false},
      {"245 data bytes, the longest reply", replyFrame(1, 0, 0, Bytes(245, 'x')), true},
  };
  for (const auto& c : cases) {
    fresh();
    dev->script = [&](const InstrumentFrame& r, int nth) -> std::optional<Pieces> {
      if (r.Command == 1 && nth == 1) return Pieces{{0, c.reply}};
      return std::nullopt;
    };
    openPort();
    runBatch(queueReadBatch);
    EXPECT_EQ(gErrCode, 0) << c.name;
    EXPECT_EQ(dev->count(1), c.answered ? 1 : 2) << c.name;
    // A reply of another length counts as the answer but stores nothing.
    const char* model = !c.answered ? "VQA-7001" : c.reply.size() == 18 ? "ABCDEFGH" : "";
    EXPECT_EQ(gModelName, model) << c.name;
  }
}

TEST_F(Engine, OverlongReplyIsDroppedAsSoonAsItsLengthIsSeen) {
  // Only the head of a frame announcing more than 245 data bytes comes.
  for (std::uint8_t n : {246, 250, 255}) {
    fresh();
    dev->script = [&](const InstrumentFrame& r, int nth) -> std::optional<Pieces> {
      if (r.Command == 1 && nth == 1) return Pieces{{300, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, n}}};
      return std::nullopt;
    };
    openPort();
    runBatch(queueReadBatch);
    EXPECT_EQ(gErrCode, 0) << int(n);
    EXPECT_EQ(dev->count(1), 2) << int(n);  // repeated at the next tick, answered then
    EXPECT_EQ(gModelName, "VQA-7001") << int(n);
  }
}

TEST_F(Engine, BytesAfterABatchNeverReachTheNextOne) {
  // The batch is one mode request that leaves the port open (PC mode); then late bytes come.
  const Bytes modeReply = replyFrame(127, 0, 1, {1});
  const struct {
    const char* name;
    Pieces reply;
  } cases[] = {
      {"half a second copy of the reply", {{300, modeReply}, {2000, Bytes(modeReply.begin(), modeReply.begin() + 9)}}},
      {"a whole second copy", {{300, modeReply}, {2000, modeReply}}},
      {"a stray byte", {{300, modeReply}, {2000, {0x00}}}},
  };
  for (const auto& c : cases) {
    fresh();
    dev->script = [&](const InstrumentFrame& r, int nth) -> std::optional<Pieces> {
      if (r.Command == 127 && nth == 1) return c.reply;
      return std::nullopt;
    };
    openPort();
    startModeRequest();
    ASSERT_TRUE(p->runUntil([] { return !gLinkBusy; }, 100000)) << c.name;
    p->runUntil([] { return false; }, 20000);
    ASSERT_TRUE(p->port.portOpen()) << c.name;
    EXPECT_TRUE(gRxBuffer.empty()) << c.name;

    runBatch(queueReadBatch);
    EXPECT_EQ(gErrCode, 0) << c.name;
    EXPECT_EQ(dev->count(1), 1) << c.name;  // answered at once, no repeat
    EXPECT_EQ(gModelName, "VQA-7001") << c.name;
  }
}

TEST_F(Engine, OverlongReplyHeadLeavesNothingBehind) {
  dev->script = [](const InstrumentFrame& r, int) -> std::optional<Pieces> {
    if (r.Command == 127) return Pieces{{300, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 127, 0, 1, 246}}};
    return std::nullopt;
  };
  openPort();
  startModeRequest();
  ASSERT_TRUE(p->runUntil([this] { return rxEventsUs.size() == 9; }, 5000));
  EXPECT_TRUE(gRxBuffer.empty());
  EXPECT_EQ(gRxExpected, 255);
  EXPECT_EQ(gRxFrame.Length, 0);  // never decoded: it would reach past the bytes received
  EXPECT_FALSE(gReplyOk);
  EXPECT_TRUE(p->timer.enabled());  // the next tick repeats the request
}

struct CtsCase {
  int yieldsBeforeCts;
  std::uint8_t code;
};

TEST_F(Engine, ClearToSendIsPolledElevenTimes) {
  for (CtsCase c : {CtsCase{0, 0}, CtsCase{10, 0}, CtsCase{11, 13}, CtsCase{1000, 13}}) {
    fresh();
    long base = 0;
    dev->ctsFn = [&] { return p->doEventsCalls - base >= c.yieldsBeforeCts; };
    openPort();
    std::int32_t n = 0;
    gModeKind = 1;
    subAddCommand(n, 127, 1);
    base = p->doEventsCalls + 1;  // one yield after the checksum
    subRunBatch(n);
    EXPECT_EQ(gErrCode, c.code) << c.yieldsBeforeCts;
    EXPECT_EQ(p->port.written.size(), c.code ? 0u : 1u) << c.yieldsBeforeCts;
    EXPECT_FALSE(p->port.rts()) << c.yieldsBeforeCts;
    EXPECT_EQ(p->port.portOpen(), c.code == 0) << c.yieldsBeforeCts;  // PC mode on after success
    p->port.setPortOpen(false);
  }
}

TEST_F(Engine, ClearToSendMissingOnARepeatFailsWithTimeout) {
  bool cts = true;
  dev->ctsFn = [&] { return cts; };
  dev->script = [&](const InstrumentFrame& r, int) -> std::optional<Pieces> {
    if (r.Command == 1) {
      cts = false;  // the instrument stops listening
      return Pieces{};
    }
    return std::nullopt;
  };
  openPort();
  runBatch(queueReadBatch);
  EXPECT_EQ(gErrCode, 13);
  EXPECT_EQ(dev->count(1), 1);
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "Ready");
}

TEST_F(Engine, StopDuringClearToSendWaitEndsTheSendQuietly) {
  dev->ctsFn = [] { return false; };
  openPort();
  std::int32_t n = 0;
  queueReadBatch(n);
  p->clock.after(0, [] { subCommStop(); });
  subStartBatch(n);
  EXPECT_FALSE(gLinkBusy);
  EXPECT_EQ(gErrCode, 0);
  EXPECT_TRUE(p->port.written.empty());
  EXPECT_FALSE(p->port.rts());
}

TEST_F(Engine, StopKeepsThePortOpenOnlyInPcMode) {
  for (bool pc : {false, true}) {
    fresh();
    openPort();
    gPcMode = pc;
    subCommStop();
    EXPECT_EQ(p->port.portOpen(), pc);
    EXPECT_EQ(gPcMode, pc);
    EXPECT_EQ(gReqRemain, -1);
  }
  p->port.setPortOpen(false);
  gPcMode = true;
  subCommStop();  // a port found closed cannot be in PC mode
  EXPECT_FALSE(gPcMode);
}

TEST_F(Engine, PortFailureInsideATickStopsTheBatchAndIsNoted) {
  openPort();
  // The device vanishes after the first reply; the tick that sends request 1 finds it gone.
  p->clock.after(5000, [this] { p->port.setPortOpen(false); });
  EXPECT_NO_THROW(runBatch(queueReadBatch));
  EXPECT_EQ(gLinkPortError, kPortFailure);
  EXPECT_FALSE(gLinkBusy);
  EXPECT_FALSE(gPcMode);
  EXPECT_FALSE(p->timer.enabled());
  EXPECT_EQ(writtenCommands(), (std::vector<int>{127}));
}

}  // namespace
}  // namespace vq::test
