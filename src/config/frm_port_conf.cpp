#include "config/frm_port_conf.h"

#include <algorithm>
#include <cctype>

#include "base/comm_settings.h"
#include "base/state.h"
#include "base/texts.h"
#include "config/port_scan.h"
#include "platform/app_windows.h"

namespace vq {

namespace {

constexpr Text kCaption{"通信設定", "Comm settings"};
constexpr Text kCommPortTitle{"ポート番号：", "Comm port :"};
constexpr Text kCommBaudrateTitle{"通信用ボーレート：", "Comm baud rate :"};
constexpr Text kUpBaudrateTitle{"更新用ボーレート：", "Update baud rate :"};
constexpr Text kParityTitle{"パリティ・チェック：", "Parity :"};
constexpr Text kDataBitsTitle{"データ・ビット：", "Data bit :"};
constexpr Text kStopBitsTitle{"ストップ・ビット：", "Stop bit :"};
constexpr Text kFlowTitle{"フロー制御：", "Flow control :"};
constexpr Text kSet{"設定", "Set"};
constexpr Text kCancel{"中止", "Cancel"};
constexpr Text kRestoreRefused{"ポートの設定が無効です再設定してください。",
                               "Please do the resetting that setting of a port is invalidity."};

// Where the number starts in a COM entry ("COM3", "COM12", "COM3 (ttyUSB0)").
constexpr std::size_t kComNumberStart = 3;

template <std::size_t N>
void fill(ComboBox& box, const char* const (&entries)[N]) {
  box.clear();
  for (const char* e : entries) box.addItem(e);
}

// Selects entry i when the list has it; anything else leaves the list without a selection.
void selectIndex(ComboBox& box, long i) {
  box.listIndex = i >= 0 && i < long(box.items.size()) ? int(i) : -1;
}

void selectText(ComboBox& box, const std::string& text) {
  auto it = std::find(box.items.begin(), box.items.end(), text);
  box.listIndex = it == box.items.end() ? -1 : int(it - box.items.begin());
}

// The leading number of a text, blanks around it ignored; 0 when it has none.
long leadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  long n = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    n = n * 10 + (text[i] - '0');
    if (n > 0xFFFF) break;  // port numbers are small; stop before overflowing
  }
  return n;
}

// The port number of a COM entry: after "COM", up to a "(" when the entry names a device.
long portNumberOfEntry(const std::string& entry) {
  if (entry.size() <= kComNumberStart) return 0;
  std::string digits;
  const auto paren = entry.find('(');
  if (entry.size() > 4 && paren != std::string::npos && paren > kComNumberStart)
    digits = entry.substr(kComNumberStart, paren - kComNumberStart);
  else if (entry.size() > 4)
    digits = entry.substr(kComNumberStart, 2);
  else
    digits = entry.substr(kComNumberStart, 1);
  return leadingNumber(digits);
}

int parityIndex(std::string parity) {
  for (auto& c : parity) c = char(std::toupper(static_cast<unsigned char>(c)));
  for (int i = 0; i < int(std::size(kParities)); ++i)
    if (parity == std::string(1, kParities[i][0])) return i;
  return -1;
}

SerialPort& portObject() { return frmPortConf.portObject ? *frmPortConf.portObject : mscComm(); }

void closeDialog() {
  frmPortConf.open = false;
  windows().closePortConfDialog();
}

void applyLanguage() {
  auto& f = frmPortConf;
  f.fontName = windowFont();
  f.caption = pick(kCaption);
  f.lblCommPortTitle.caption = pick(kCommPortTitle);
  f.lblCommBaudrateTitle.caption = pick(kCommBaudrateTitle);
  f.lblUpBaudrateTitle.caption = pick(kUpBaudrateTitle);
  f.lblParityTitle.caption = pick(kParityTitle);
  f.lblDataBitsTitle.caption = pick(kDataBitsTitle);
  f.lblStopBitsTitle.caption = pick(kStopBitsTitle);
  f.lblFlowTitle.caption = pick(kFlowTitle);
  f.cmdSet.caption = pick(kSet);
  f.cmdCancel.caption = pick(kCancel);
}

void fillComPorts() {
  ComboBox& box = frmPortConf.cmbComPort;
  box.clear();
  for (std::uint8_t n : gPortList) {
    std::string entry = "COM" + std::to_string(n);
    // The Linux device, or the name Windows shows for the port, after the number tells the
    // operator which adapter it is.
    const std::string device = n == 0 ? std::string() : platform().portDescription(n);
    if (!device.empty() && device != entry) entry += " (" + device + ")";
    box.addItem(entry, n);
  }
  const int current = portObject().commPort();
  auto it = std::find(box.itemData.begin(), box.itemData.end(), current);
  box.listIndex = it == box.itemData.end() ? 0 : int(it - box.itemData.begin());
}

}  // namespace

void subSetPort(SerialPort& port) {
  auto& f = frmPortConf;
  f.portObject = &port;
  f.savedPort = static_cast<std::int16_t>(port.commPort());
  f.savedSettings = port.settings();
  f.savedHandshaking = static_cast<std::int16_t>(port.handshaking());
  frmPortConf_Load();
  f.left = (platform().screenWidth() - kPortConfInnerWidth) / 2;
  f.top = (platform().screenHeight() - kPortConfInnerHeight) / 2;
  f.open = true;
  windows().showPortConfDialog();
}

void frmPortConf_Load() {
  auto& f = frmPortConf;
  applyLanguage();
  subPortScan();
  fillComPorts();

  fill(f.cmbCommBaudrate, kCommBaudrates);
  selectText(f.cmbCommBaudrate, gCommBaud);

  fill(f.cmbUpBaudrate, kUpdateBaudRates);
  selectIndex(f.cmbUpBaudrate, gUpdateBaud);

  fill(f.cmbParity, kParities);
  selectIndex(f.cmbParity, parityIndex(gCommParity));

  fill(f.cmbDataBits, kDataBits);
  selectIndex(f.cmbDataBits, leadingNumber(gCommDataBits) - kLowestDataBits);

  fill(f.cmbStopBits, kStopBits);
  selectText(f.cmbStopBits, gCommStopBits);

  fill(f.cmbFlowCtl, kFlows);
  selectIndex(f.cmbFlowCtl, gCommFlow);
}

void frmPortConf_cmdSet_Click() {
  auto& f = frmPortConf;
  SerialPort& port = portObject();
  // A running step owns the open port; closing it would break the step mid-exchange.
  // The new settings take effect when a step next opens the port.
  if (!fncStepRunning() && port.portOpen()) {
    try {
      port.setPortOpen(false);
    } catch (const SerialError&) {
    }
  }

  // A list without a selection keeps its variable: only the program's own values are stored.
  if (f.cmbComPort.listIndex >= 0)
    gCommPort = static_cast<std::uint8_t>(portNumberOfEntry(f.cmbComPort.text()));
  if (f.cmbCommBaudrate.listIndex >= 0) gCommBaud = f.cmbCommBaudrate.text();
  if (f.cmbUpBaudrate.listIndex >= 0) gUpdateBaud = static_cast<std::uint8_t>(f.cmbUpBaudrate.listIndex);
  if (f.cmbParity.listIndex >= 0) gCommParity = f.cmbParity.text().substr(0, 1);
  if (f.cmbDataBits.listIndex >= 0) gCommDataBits = f.cmbDataBits.text();
  if (f.cmbStopBits.listIndex >= 0) gCommStopBits = f.cmbStopBits.text();
  if (f.cmbFlowCtl.listIndex >= 0) gCommFlow = static_cast<std::uint8_t>(f.cmbFlowCtl.listIndex);

  closeDialog();
}

void frmPortConf_cmdCancel_Click() {
  auto& f = frmPortConf;
  SerialPort& port = portObject();
  if (!port.portOpen()) {
    bool refused = false;
    try {
      port.setCommPort(f.savedPort);
    } catch (const SerialError&) {
      refused = true;
    }
    try {
      port.setSettings(f.savedSettings);
    } catch (const SerialError&) {
      refused = true;
    }
    try {
      port.setHandshaking(f.savedHandshaking);
    } catch (const SerialError&) {
      refused = true;
    }
    if (refused) platform().messageBox(pick(kRestoreRefused));
  }
  closeDialog();
}

void frmPortConf_QueryUnload() { closeDialog(); }

}  // namespace vq
