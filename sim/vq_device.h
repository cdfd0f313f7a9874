// The simulated VQ instrument and its controller, at the far end of a serial line: in-process on
// the virtual line (VirtualSerialPort::attach) or in real time on a pseudo-terminal (vq-sim).
//
//   VqDevice dev;                        // powered, switch "-", instrument mode
//   platform.port.attach(&dev);
//   dev.identity.model = "VQ-2000B";      // stored identity, commands 4 and 6
//   dev.setSwitch(FwSwitch::Write);       // the operator sets "W" ...
//   dev.powerCycle();                     // ... and restarts: boot mode at 9600,N,8,1
//   dev.faults.add(*parseFault("wdata#300:drop"));
//   ... run the tool ...
//   dev.flash, dev.firmwareVersion(), dev.violations(), dev.report(&updateFile)
//
// After power-on DSR is on for config.dsrOnUs (20 ms), so let that much time pass before the
// tool's power-on check runs.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "platform/line_settings.h"
#include "platform/virtual/device.h"
#include "update_file.h"

namespace vq::sim {

enum class FwSwitch { Normal, Write };  // front panel "-" and "W"
enum class DeviceMode { Off, Instrument, Boot };

inline constexpr const char* kAccessCode = "318642";
inline constexpr const char* kInitAccessCode = "47205813";
inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusBusy = 51;
inline constexpr std::uint8_t kStatusRejected = 0x0A;

// Boot-mode status bytes the controller sends.
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kParamFailure = 0x05;
inline constexpr std::uint8_t kChecksumFailure = 0x07;
inline constexpr std::uint8_t kVerifyFailure = 0x0F;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kWriteMarginFailure = 0x1B;

struct Identity {
  std::string model = "VQ-1000A";  // 8 characters
  std::string serial = " 12345";   // 6 characters
  std::array<std::uint8_t, 2> cmd04{5, 0};
  std::array<std::uint8_t, 2> cmd06{1, 0};
  bool operator==(const Identity&) const = default;
};

// What command 124 leaves: blank texts and zero values, as from the factory.
Identity factoryBlankIdentity();

struct DeviceConfig {
  LineSettings link{307200, 'O', 8, 2};
  int modeReplyLength = 7;                 // data bytes of the reply to 127: 7, or 1
  std::int64_t instrumentReplyUs = 300;    // instrument's time to answer a request
  std::int64_t initDelayUs = 2'000'000;    // command 124 resets the parameters, then answers
  std::int64_t dsrOnUs = 20'000;           // DSR pulse after power-on
  std::int64_t bootReplyUs = 500;          // controller's time to answer a command
  std::int64_t eraseUs = 1'000'000;
  std::int64_t programBlockUs = 2'000;     // per 256-byte block
  std::int64_t completionUs = 20'000;      // after the last block's status, the completion status
  std::int64_t verifyBlockUs = 300;
  std::int64_t securityFirstUs = 30'000;
  std::int64_t securitySecondUs = 50'000;  // after the first security status
  std::int64_t frameGapUs = 100'000;       // a frame left incomplete this long is dropped
  FirmwareVersion fallbackVersion{11, 0};  // reported when the flash has no version record
  bool autoSwitch = false;                 // follow the tool: boot sync at 9600 means "W" + restart,
                                           // instrument sync at link settings means "-" + restart
  bool poweredAtAttach = true;
};

struct FrameRecord {
  std::int64_t atUs;
  bool fromPc;
  std::string settings;  // line settings of the frame
  Bytes bytes;
  std::string note;      // what the device made of it
};

struct Violation {
  std::int64_t atUs;
  std::string text;
  int repeat = 1;  // runs of bytes at wrong settings are one violation
};

class VqDevice : public virt::Device {
 public:
  explicit VqDevice(DeviceConfig cfg = {});

  // virt::Device
  void attach(virt::DeviceHost* host) override;
  void receive(std::uint8_t byte, const LineSettings& pcSettings) override;
  bool cts() const override { return !faults.ctsOff; }
  bool dsr() const override { return dsr_; }

  // A byte whose settings the transport saw change around its arrival (a pty sampled between two
  // looks): it counts as matching when either does.
  void receiveEither(std::uint8_t byte, const LineSettings& now, const LineSettings& before);

  // Front panel.
  void setSwitch(FwSwitch s) { switch_ = s; }
  FwSwitch fwSwitch() const { return switch_; }
  void powerOn();
  void powerOff();
  void powerCycle();
  bool powered() const { return mode_ != DeviceMode::Off; }
  DeviceMode mode() const { return mode_; }

  // Stored state; change it freely between exchanges.
  DeviceConfig config;
  Identity identity;
  Bytes flash;  // the controller's 128 KiB
  FaultPlan faults;

  FirmwareVersion firmwareVersion() const;
  int pcMode() const { return pcMode_; }
  int bootBaud() const { return bootBaud_; }
  std::array<std::uint8_t, 2> securitySetting() const { return security_; }
  // The settings the device expects right now (link or boot; garbage otherwise).
  LineSettings expectedSettings() const;

  const std::vector<FrameRecord>& frames() const { return frames_; }
  // How many replies of a kind (a fault plan kind: "reset", "i127", "boot", ...) the device has
  // planned so far: a fault added now for "the next one" has nth = this + 1.
  int occurrences(const std::string& kind) const {
    const auto it = counts_.find(kind);
    return it == counts_.end() ? 0 : it->second;
  }
  const std::vector<Violation>& violations() const { return violations_; }
  // Text report: state, flash SHA-256 (and whether it equals the file's body padded with 0xFF),
  // violations, frames.
  std::string report(const Bytes* expectedUpdateFile = nullptr) const;

 private:
  struct Occurrence {
    std::string kind;
    int n = 0;
    std::string umbrella;
    int un = 0;
  };
  struct ReplyPlan {
    bool drop = false, join = false;
    std::int64_t extraDelayUs = 0;
    int pieceSize = 0;
    std::int64_t gapUs = 0;
    Bytes bytes;
  };
  enum class Phase { None, WriteData, VerifyData, SecurityData };

  void startDsrPulse();
  void onByte(std::uint8_t b, const LineSettings* cands, int n);
  bool autoSwitch(std::uint8_t b, const LineSettings* cands, int n);
  void garbage(const LineSettings& seen);
  void violation(const std::string& text);
  void dropPartialIfStale();

  // Instrument side.
  void instrumentByte(std::uint8_t b, const std::string& settings);
  void instrumentFrame(const Bytes& f, const std::string& settings);
  Bytes instrumentReply(std::uint8_t cmd, std::uint8_t status, std::uint8_t dir, const Bytes& data) const;

  // Boot side.
  void bootByte(std::uint8_t b, const std::string& settings);
  void bootCommand(const Bytes& f, const std::string& settings);
  void bootData(const Bytes& f, const std::string& settings);
  static Bytes status5(std::uint8_t st1);
  static Bytes status6(std::uint8_t st1, std::uint8_t st2);

  Occurrence count(const std::string& kind, const std::string& umbrella);
  bool deadOn(const Occurrence& occ);
  ReplyPlan plan(const Occurrence& occ, Bytes frame, bool boot) const;
  // Sends a planned reply after delayUs (plus its faults); `follow` (if any) comes after
  // followDelayUs more, or right behind it when the plan says join.
  void send(const ReplyPlan& p, std::int64_t delayUs, const std::string& what,
            const ReplyPlan* follow = nullptr, std::int64_t followDelayUs = 0,
            const std::string& followWhat = "");
  void transmitNow(const Bytes& bytes, const std::string& what);
  void logIn(const Bytes& f, const std::string& settings, const std::string& note);
  std::int64_t now() const;

  virt::DeviceHost* host_ = nullptr;
  FwSwitch switch_ = FwSwitch::Normal;
  DeviceMode mode_ = DeviceMode::Off;
  std::uint64_t epoch_ = 0;  // bumped at every power change; stale scheduled work checks it
  bool dsr_ = false;

  // Instrument.
  int pcMode_ = 0;
  bool initUnlocked_ = false;
  bool initPending_ = false;
  int syncFF_ = 0;
  Bytes inFrame_;

  // Boot controller.
  int bootBaud_ = 9600;
  int syncZeros_ = 0;
  bool resetSeen_ = false, clockSet_ = false, erased_ = false, written_ = false;
  // Erased and not yet written whole: no firmware to answer the instrument's requests with,
  // across restarts, until a write completes.
  bool firmwareMissing_ = false;
  Phase phase_ = Phase::None;
  std::uint32_t nextAddr_ = 0, endAddr_ = 0;
  std::array<std::uint8_t, 2> security_{0xFF, 0xFF};
  Bytes bootFrame_;
  std::size_t bootTotal_ = 0;

  std::int64_t lastByteUs_ = 0;
  std::map<std::string, int> counts_;
  std::vector<FrameRecord> frames_;
  std::vector<Violation> violations_;
};

const char* modeName(DeviceMode m);

}  // namespace vq::sim
