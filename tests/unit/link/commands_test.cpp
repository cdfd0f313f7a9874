#include <gtest/gtest.h>

#include "app/reset_all_state.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "link/bas_command_send.h"
#include "link/bas_function.h"
#include "link/link_engine_state.h"
#include "unit/link/fake_instrument.h"

namespace vq {
namespace {

class Commands : public ::testing::Test {
 protected:
  void SetUp() override { resetAllState(); }
};

std::vector<std::pair<int, int>> cmdDirs() {
  std::vector<std::pair<int, int>> v;
  for (const auto& e : gReqQueue) v.emplace_back(e.Command, e.Direction);
  return v;
}

Bytes dataOf(const InstrumentFrame& e) { return Bytes(e.Data.begin(), e.Data.begin() + e.Length); }

using test::textBytes;

TEST_F(Commands, ReadBatchOfStep2) {
  std::int32_t n = 0;
  queueReadBatch(n);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(cmdDirs(), (std::vector<std::pair<int, int>>{{127, 1}, {1, 0}, {2, 0}, {4, 0}, {5, 0}, {6, 0}, {127, 1}}));
  EXPECT_EQ(dataOf(gReqQueue[0]), (Bytes{1, '3', '1', '8', '6', '4', '2'}));
  EXPECT_EQ(dataOf(gReqQueue[6]), (Bytes{0, '3', '1', '8', '6', '4', '2'}));
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(gReqQueue[std::size_t(i)].Length, 0) << i;
    gReqQueue[std::size_t(i)].Checksum = fncCalcSum(gReqQueue[std::size_t(i)]);
    EXPECT_EQ(encodeRequest(gReqQueue[std::size_t(i)]).size(), 11u) << i;
  }
}

TEST_F(Commands, InitBatchOfStep7CarriesTheEightDigitCode) {
  std::int32_t n = 0;
  queueInitBatch(n);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(cmdDirs(), (std::vector<std::pair<int, int>>{{127, 1}, {124, 1}}));
  EXPECT_EQ(gReqQueue[0].Length, 9);
  EXPECT_EQ(dataOf(gReqQueue[0]), (Bytes{2, '4', '7', '2', '0', '5', '8', '1', '3'}));
  EXPECT_EQ(gReqQueue[1].Length, 0);
}

TEST_F(Commands, WriteBackBatchOfStep7CarriesTheStore) {
  gModelName = "VQA-7000";
  gSerialNo = " 01234";
  gCmd04Value = 0x2A;
  std::int32_t n = 0;
  queueWriteBackBatch(n);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(cmdDirs(), (std::vector<std::pair<int, int>>{{127, 1}, {1, 1}, {2, 1}, {4, 1}, {127, 1}}));
  EXPECT_EQ(dataOf(gReqQueue[0]), (Bytes{2, '3', '1', '8', '6', '4', '2'}));
  EXPECT_EQ(dataOf(gReqQueue[1]), (Bytes{'V', 'Q', 'A', '-', '7', '0', '0', '0'}));
  EXPECT_EQ(dataOf(gReqQueue[2]), (Bytes{' ', '0', '1', '2', '3', '4'}));
  EXPECT_EQ(dataOf(gReqQueue[3]), (Bytes{0x2A, 0x00}));
  EXPECT_EQ(dataOf(gReqQueue[4]), (Bytes{0, '3', '1', '8', '6', '4', '2'}));
  const std::size_t wire[] = {18, 19, 17, 13, 18};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(gReqQueue[i].Sync, (std::array<std::uint8_t, 5>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(encodeRequest(gReqQueue[i]).size(), wire[i]) << i;
  }
}

TEST_F(Commands, TextsAreCutOrPaddedToTheirWidth) {
  gModelName = "VQA-7001-XYZ";
  gSerialNo = "12";
  std::int32_t n = 0;
  subAddCommand(n, 1, 1);
  subAddCommand(n, 2, 1);
  EXPECT_EQ(dataOf(gReqQueue[0]), textBytes("VQA-7001"));
  EXPECT_EQ(dataOf(gReqQueue[1]), textBytes("12    "));
}

TEST_F(Commands, ModeRequestLengthFollowsTheCode) {
  gModeKind = 2;
  for (auto [code, len] : {std::pair{"318642", 7}, {"47205813", 9}, {"", 1}}) {
    gModeCode = code;
    std::int32_t n = 0;
    subAddCommand(n, 127, 1);
    EXPECT_EQ(gReqQueue[0].Length, len) << code;
    EXPECT_EQ(gReqQueue[0].Data.at(0), 2) << code;
  }
}

TEST_F(Commands, QueuedRequestIgnoresLaterModeChanges) {
  std::int32_t n = 0;
  gModeKind = 1;
  subAddCommand(n, 127, 1);
  gModeKind = 2;
  gModeCode = "47205813";
  EXPECT_EQ(dataOf(gReqQueue[0]), (Bytes{1, '3', '1', '8', '6', '4', '2'}));
}

TEST_F(Commands, NewBatchCutsTheQueueAndReusesEntryZero) {
  std::int32_t n = 0;
  queueWriteBackBatch(n);
  n = 0;
  subAddCommand(n, 1, 0);  // a read over the old mode request
  ASSERT_EQ(gReqQueue.size(), 1u);
  EXPECT_EQ(gReqQueue[0].Length, 0);
  gReqQueue[0].Checksum = fncCalcSum(gReqQueue[0]);
  EXPECT_EQ(encodeRequest(gReqQueue[0]), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 1, 0}));
  subAddCommand(n, 5, 0);
  EXPECT_EQ(gReqQueue.size(), 2u);
  EXPECT_TRUE(gReqQueue[1].Data.empty());  // grown entries start all zero
}

}  // namespace
}  // namespace vq
