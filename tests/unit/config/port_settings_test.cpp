#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/reset_all_state.h"
#include "base/comm_settings.h"
#include "base/state.h"
#include "base/texts.h"
#include "config/frm_port_conf.h"
#include "config/port_scan.h"
#include "platform/virtual/virtual_platform.h"

namespace vq {
namespace {

using virt::VirtualPlatform;
using Ports = std::vector<std::uint8_t>;

// A port whose driver refuses every settings text once told to (an adapter pulled mid-dialog).
class RefusingPort : public virt::VirtualSerialPort {
 public:
  using VirtualSerialPort::VirtualSerialPort;
  bool refuseSettings = false;
  void setSettings(const std::string& text) override {
    if (refuseSettings) throw SerialError(kPortSettingsRejected, "refused");
    VirtualSerialPort::setSettings(text);
  }
};

class PortSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAllState();
    p.onPortConfDialog = [this] { ++dialogsShown; };
  }
  void TearDown() override { installPlatform(&p, &p.port, &p.timer); }
  void chooseComEntry(const std::string& entry) {
    frmPortConf.cmbComPort.clear();
    frmPortConf.cmbComPort.addItem(entry);
    frmPortConf.cmbComPort.listIndex = 0;
  }

  VirtualPlatform p;
  int dialogsShown = 0;
};

TEST_F(PortSettings, SettingsTexts) {
  EXPECT_EQ(fncLinkSettings(), "307200,O,8,1");
  gCommBaud = "9600", gCommParity = "E", gCommDataBits = "7", gCommStopBits = "1.5";
  EXPECT_EQ(fncLinkSettings(), "9600,E,7,1.5");
}

TEST_F(PortSettings, ScanWithNoOpenablePortOffersCom0) {
  p.port.existingPorts.clear();
  gPortList = {4, 5};
  subSetPort(p.port);
  EXPECT_EQ(gPortList, Ports{0});
  EXPECT_EQ(frmPortConf.cmbComPort.items, std::vector<std::string>{"COM0"});
  EXPECT_EQ(frmPortConf.cmbComPort.listIndex, 0);
  frmPortConf_cmdSet_Click();
  EXPECT_EQ(gCommPort, 0);
}

TEST_F(PortSettings, ScanListsOpenablePortsUpToSixteenAndRestoresThePort) {
  p.port.existingPorts = {1, 3, 7, 12, 16, 17};
  p.port.busyPorts = {7};
  p.port.setCommPort(5);
  p.port.setSettings("307200,o,8,1");
  subPortScan();
  EXPECT_EQ(gPortList, (Ports{1, 3, 12, 16}));
  EXPECT_EQ(p.port.commPort(), 5);
  EXPECT_EQ(p.port.settings(), "307200,o,8,1");
  EXPECT_FALSE(p.port.portOpen());

  // Refused settings, on the way in or on the way back, do not end the scan.
  RefusingPort refusing(p.clock);
  installPlatform(&p, &refusing, &p.timer);
  refusing.existingPorts = {2};
  refusing.setCommPort(9);
  refusing.refuseSettings = true;
  EXPECT_NO_THROW(subPortScan());
  EXPECT_EQ(gPortList, Ports{2});
  EXPECT_EQ(refusing.commPort(), 9);
}

TEST_F(PortSettings, OpeningCentresTheDialogAndRemembersThePort) {
  p.screenW = 1025, p.screenH = 769;
  p.port.setSettings("19200,e,7,2");
  p.port.setHandshaking(2);
  subSetPort(p.port);
  EXPECT_TRUE(frmPortConf.open);
  EXPECT_EQ(dialogsShown, 1);
  EXPECT_EQ(frmPortConf.left, (1025 - kPortConfInnerWidth) / 2);
  EXPECT_EQ(frmPortConf.top, (769 - kPortConfInnerHeight) / 2);
  EXPECT_EQ(frmPortConf.savedPort, 1);
  EXPECT_EQ(frmPortConf.savedSettings, "19200,e,7,2");
  EXPECT_EQ(frmPortConf.savedHandshaking, 2);
  EXPECT_EQ(frmPortConf.lblCommBaudrateTitle.caption, "Comm baud rate :");
  EXPECT_EQ(frmPortConf.fontName, "Courier New");
  gLangId = kLangJapanese;
  subSetPort(p.port);
  EXPECT_EQ(frmPortConf.caption, "通信設定");
  EXPECT_EQ(frmPortConf.lblParityTitle.caption, "パリティ・チェック：");
  EXPECT_EQ(frmPortConf.fontName, "ＭＳ ゴシック");
}

TEST_F(PortSettings, LoadShowsTheDefaultsTheSameWayEachTime) {
  for (int round = 0; round < 2; ++round) {
    subSetPort(p.port);
    const auto& f = frmPortConf;
    EXPECT_EQ(f.cmbComPort.text(), "COM1") << round;
    EXPECT_EQ(f.cmbCommBaudrate.text(), "307200") << round;
    EXPECT_EQ(f.cmbUpBaudrate.text(), "38400") << round;
    EXPECT_EQ(f.cmbParity.text(), "Odd") << round;
    EXPECT_EQ(f.cmbDataBits.text(), "8") << round;
    EXPECT_EQ(f.cmbStopBits.text(), "1") << round;
    EXPECT_EQ(f.cmbFlowCtl.text(), "No handshake") << round;
    frmPortConf_QueryUnload();
    EXPECT_FALSE(frmPortConf.open);
  }
}

TEST_F(PortSettings, LoadSelectsByTheRulesOfEachList) {
  struct Case {
    const char *baud, *parity, *dataBits, *stopBits;
    int upBaud, flow;
    const char *baudShown, *parityShown, *dataShown, *stopShown, *upShown, *flowShown;
  };
  const Case cases[] = {
      {"110", "e", "4", "1.5", 0, 3, "110", "Even", "4", "1.5", "9600", "Xon/Xoff RTS/CTS"},
      {"56000", "M", "5", "2", 2, 1, "56000", "Mark", "5", "2", "31250", "Xon / Xoff"},
      // Values the lists do not hold leave them without a selection.
      {" 9600", "None", "9", "1.0", 6, 4, "", "", "", "", "", ""},
  };
  for (const auto& c : cases) {
    gCommBaud = c.baud, gCommParity = c.parity, gCommDataBits = c.dataBits, gCommStopBits = c.stopBits;
    gUpdateBaud = std::uint8_t(c.upBaud), gCommFlow = std::uint8_t(c.flow);
    frmPortConf_Load();
    const auto& f = frmPortConf;
    EXPECT_EQ(f.cmbCommBaudrate.text(), c.baudShown) << c.baud;
    EXPECT_EQ(f.cmbParity.text(), c.parityShown) << c.parity;
    EXPECT_EQ(f.cmbDataBits.text(), c.dataShown) << c.dataBits;
    EXPECT_EQ(f.cmbStopBits.text(), c.stopShown) << c.stopBits;
    EXPECT_EQ(f.cmbUpBaudrate.text(), c.upShown) << c.upBaud;
    EXPECT_EQ(f.cmbFlowCtl.text(), c.flowShown) << c.flow;
  }
}

TEST_F(PortSettings, ComEntriesNameTheDeviceAndFollowThePortsNumber) {
  p.port.existingPorts = {1, 3, 12};
  p.deviceNames = {{3, "ttyUSB0"}, {12, "ttyACM1"}};
  p.port.setCommPort(12);
  subSetPort(p.port);
  const auto& box = frmPortConf.cmbComPort;
  EXPECT_EQ(box.items, (std::vector<std::string>{"COM1", "COM3 (ttyUSB0)", "COM12 (ttyACM1)"}));
  EXPECT_EQ(box.itemData, (std::vector<int>{1, 3, 12}));
  EXPECT_EQ(box.listIndex, 2);
  p.port.setCommPort(5);  // not found by the scan: the first entry
  frmPortConf_Load();
  EXPECT_EQ(frmPortConf.cmbComPort.listIndex, 0);
}

TEST_F(PortSettings, SetReadsThePortNumberFromTheEntry) {
  const std::pair<const char*, int> cases[] = {
      {"COM3", 3}, {"COM12", 12}, {"COM3 (ttyUSB0)", 3}, {"COM12 (ttyACM0)", 12}, {"COM16", 16},
  };
  for (const auto& [entry, number] : cases) {
    subSetPort(p.port);
    chooseComEntry(entry);
    frmPortConf_cmdSet_Click();
    EXPECT_EQ(gCommPort, number) << entry;
    EXPECT_FALSE(frmPortConf.open);
  }
}

TEST_F(PortSettings, SetStoresEveryChoice) {
  subSetPort(p.port);
  auto& f = frmPortConf;
  f.cmbCommBaudrate.listIndex = 5;  // 9600
  f.cmbUpBaudrate.listIndex = 5;    // 153600
  f.cmbParity.listIndex = 0;        // Even
  f.cmbDataBits.listIndex = 3;      // 7
  f.cmbStopBits.listIndex = 2;      // 2
  f.cmbFlowCtl.listIndex = 2;       // RTS / CTS
  frmPortConf_cmdSet_Click();
  EXPECT_EQ(fncLinkSettings(), "9600,E,7,2");
  EXPECT_EQ(gUpdateBaud, 5);
  EXPECT_EQ(gCommFlow, 2);
}

TEST_F(PortSettings, SetClosesAnOpenPortUnlessAStepHoldsIt) {
  subSetPort(p.port);
  p.port.setPortOpen(true);
  frmMain.stepRunning = true;
  frmPortConf.cmbCommBaudrate.listIndex = 0;
  frmPortConf_cmdSet_Click();
  EXPECT_TRUE(p.port.portOpen());
  EXPECT_EQ(gCommBaud, "110");  // the choice still counts, from the next opening on

  frmMain.stepRunning = false;
  subSetPort(p.port);
  frmPortConf_cmdSet_Click();
  EXPECT_FALSE(p.port.portOpen());
}

TEST_F(PortSettings, CancelGivesAClosedPortBackAndKeepsTheSettings) {
  p.port.setSettings("307200,o,8,1");
  subSetPort(p.port);
  frmPortConf.cmbCommBaudrate.listIndex = 0;
  p.port.setCommPort(2);  // something moved the port while the dialog was open
  p.port.setSettings("9600,N,8,1");
  p.port.setHandshaking(3);
  frmPortConf_cmdCancel_Click();
  EXPECT_EQ(p.port.commPort(), 1);
  EXPECT_EQ(p.port.settings(), "307200,o,8,1");
  EXPECT_EQ(p.port.handshaking(), 0);
  EXPECT_EQ(gCommBaud, "307200");
  EXPECT_FALSE(frmPortConf.open);
  EXPECT_TRUE(p.messages.empty());
}

TEST_F(PortSettings, RefusedRestoreIsReportedAndTheDialogStillCloses) {
  RefusingPort port(p.clock);
  installPlatform(&p, &port, &p.timer);
  for (int lang : {1033, int(kLangJapanese)}) {
    gLangId = std::int16_t(lang);
    p.messages.clear();
    port.refuseSettings = false;
    port.setHandshaking(1);
    subSetPort(port);
    port.setHandshaking(0);
    port.refuseSettings = true;
    frmPortConf_cmdCancel_Click();
    EXPECT_EQ(p.messages, std::vector<std::string>{lang == 1033
                                                       ? "Please do the resetting that setting of a port is invalidity."
                                                       : "ポートの設定が無効です再設定してください。"});
    EXPECT_EQ(port.handshaking(), 1);  // the restore went on past the refusal
    EXPECT_FALSE(frmPortConf.open);
  }
}

}  // namespace
}  // namespace vq
