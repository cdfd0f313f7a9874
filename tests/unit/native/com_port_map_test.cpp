// What COM n means on each system, as the port dialog and --com use it: on Linux the numbers
// take the system's serial devices in order, on Windows they are the system's own; pins win
// on both. The same table runs in the Linux build and under Wine.
#include <gtest/gtest.h>

#include "platform/native/com_port_map.h"

namespace vq::native {
namespace {

struct Case {
  const char* name;
  int number;
  bool pinThree;  // COM3 pinned to a device of the test's
  const char* linuxPath;
  const char* windowsPath;
  const char* deviceName;  // on this system
};

#ifdef _WIN32
constexpr const char* kPinned = "\\\\.\\COM12";
#else
constexpr const char* kPinned = "/dev/ttyUSB7";
#endif

const std::vector<std::string> kLinuxDevices{"/dev/ttyS0", "/dev/ttyUSB0"};

class ComPortMapTest : public ::testing::TestWithParam<Case> {};

TEST_P(ComPortMapTest, MapsTheNumber) {
  const Case& c = GetParam();
  ComPortMap map;
  if (c.pinThree) map.pin(3, kPinned);
#ifdef _WIN32
  EXPECT_EQ(map.pathFor(c.number), c.windowsPath);
  EXPECT_EQ(map.deviceName(c.number), c.deviceName);
#else
  EXPECT_EQ(map.pathFor(c.number, kLinuxDevices), c.linuxPath);
  // Without a pin the name comes from this machine's own devices.
  if (c.pinThree || c.number < 1) {
    EXPECT_EQ(map.deviceName(c.number), c.deviceName);
  }
#endif
}

#ifdef _WIN32
#define NAME(linux, windows) windows
#else
#define NAME(linux, windows) linux
#endif

INSTANTIATE_TEST_SUITE_P(
    Systems, ComPortMapTest,
    ::testing::Values(Case{"first", 1, false, "/dev/ttyUSB0", "\\\\.\\COM1", NAME("ttyUSB0", "COM1")},
                      Case{"second", 2, false, "/dev/ttyS0", "\\\\.\\COM2", NAME("ttyS0", "COM2")},
                      Case{"beyond the devices", 5, false, "", "\\\\.\\COM5", NAME("", "COM5")},
                      Case{"high number", 33, false, "", "\\\\.\\COM33", NAME("", "COM33")},
                      Case{"pinned", 3, true, "/dev/ttyUSB7", "\\\\.\\COM12", NAME("ttyUSB7", "COM12")},
                      Case{"next to a pin", 4, true, "", "\\\\.\\COM4", NAME("", "COM4")},
                      Case{"zero", 0, false, "", "", ""}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (ch == ' ') ch = '_';
      return n;
    });

}  // namespace
}  // namespace vq::native
