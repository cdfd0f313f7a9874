#include <gtest/gtest.h>

#include "app/reset_all_state.h"
#include "base/param_store.h"
#include "link/bas_command_recv.h"
#include "platform/virtual/virtual_platform.h"

namespace vq {
namespace {

InstrumentFrame reply(std::uint8_t cmd, Bytes data) {
  InstrumentFrame f;
  f.Command = cmd;
  f.Length = std::uint8_t(data.size());
  f.Data = std::move(data);
  return f;
}

// What the store holds, as one comparable record.
struct Store {
  std::string model, serial;
  int c04, c06, fwMain, fwRev;
  bool pc;
  bool operator==(const Store&) const = default;
};
Store store() { return {gModelName, gSerialNo, gCmd04Value, gCmd06Value, gFwVerMain, gFwVerRev, gPcMode}; }

class Parsers : public ::testing::Test {
 protected:
  void SetUp() override { resetAllState(); }
  virt::VirtualPlatform p;
};

TEST_F(Parsers, StoreStartsEmpty) { EXPECT_EQ(store(), (Store{"", "", 0, 0, 0, 0, false})); }

TEST_F(Parsers, EachReplyFillsItsFieldsOnlyAtItsLength) {
  struct Case {
    const char* name;
    InstrumentFrame reply;
    Store after;
  };
  const Case cases[] = {
      {"model A..H", reply(1, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}), {"ABCDEFGH", "", 0, 0, 0, 0, false}},
      {"model of 7", reply(1, {'A', 'B', 'C', 'D', 'E', 'F', 'G'}), {"", "", 0, 0, 0, 0, false}},
      {"serial", reply(2, {' ', '1', '2', '3', '4', '5'}), {"", " 12345", 0, 0, 0, 0, false}},
      {"serial of 5", reply(2, {'1', '2', '3', '4', '5'}), {"", "", 0, 0, 0, 0, false}},
      {"command 4", reply(4, {9, 8}), {"", "", 9, 0, 0, 0, false}},
      {"command 4 of 1", reply(4, {9}), {"", "", 0, 0, 0, 0, false}},
      {"version 12 3", reply(5, {12, 3}), {"", "", 0, 0, 12, 3, false}},
      {"version of 3", reply(5, {12, 3, 4}), {"", "", 0, 0, 0, 0, false}},
      {"command 6", reply(6, {7, 1}), {"", "", 0, 7, 0, 0, false}},
      {"mode 1", reply(127, {1}), {"", "", 0, 0, 0, 0, true}},
      {"mode 2 of 7", reply(127, {2, 0, 0, 0, 0, 0, 0}), {"", "", 0, 0, 0, 0, true}},
      {"mode 3", reply(127, {3}), {"", "", 0, 0, 0, 0, false}},
      {"mode of 2 bytes", reply(127, {1, 0}), {"", "", 0, 0, 0, 0, false}},
      {"command 200", reply(200, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}), {"", "", 0, 0, 0, 0, false}},
      {"command 0", reply(0, {1, 2}), {"", "", 0, 0, 0, 0, false}},
  };
  for (const auto& c : cases) {
    resetAllState();
    subDispatchReply(c.reply);
    EXPECT_EQ(store(), c.after) << c.name;
  }
}

TEST_F(Parsers, ModeFollowsTheLatestReply) {
  subDispatchReply(reply(127, {2}));
  EXPECT_TRUE(gPcMode);
  subDispatchReply(reply(127, {5}));
  EXPECT_TRUE(gPcMode);
  subDispatchReply(reply(127, {0}));
  EXPECT_FALSE(gPcMode);
}

TEST_F(Parsers, InitialiseReplyLetsPendingEventsRun) {
  bool ran = false;
  p.clock.after(0, [&] { ran = true; });
  subDispatchReply(reply(124, {}));
  EXPECT_TRUE(ran);
  EXPECT_EQ(store(), (Store{"", "", 0, 0, 0, 0, false}));
}

}  // namespace
}  // namespace vq
