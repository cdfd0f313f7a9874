// The text report of the simulated device: one "key=value" line per fact, then the violations and
// the frames, so tests and scripts can grep it.
#include <cstdio>
#include <sstream>

#include "base/sha256.h"
#include "vq_device.h"

namespace vq::sim {
namespace {

std::string hexBytes(const Bytes& b, std::size_t from, std::size_t to) {
  std::string s;
  char buf[4];
  for (std::size_t i = from; i < to && i < b.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", b[i]);
    if (!s.empty()) s += ' ';
    s += buf;
  }
  return s;
}

// Long frames (data blocks) are shortened to their head and tail.
std::string frameText(const Bytes& b) {
  if (b.size() <= 32) return hexBytes(b, 0, b.size());
  return hexBytes(b, 0, 8) + " ... " + hexBytes(b, b.size() - 4, b.size()) + " (" + std::to_string(b.size()) + " bytes)";
}

std::string hexText(const std::string& s) { return hexBytes(Bytes(s.begin(), s.end()), 0, s.size()); }

}  // namespace

std::string VqDevice::report(const Bytes* expectedUpdateFile) const {
  std::ostringstream o;
  const auto v = firmwareVersion();
  o << "time_us=" << now() << "\n";
  o << "power=" << (powered() ? "on" : "off") << "\n";
  o << "mode=" << modeName(mode_) << "\n";
  o << "switch=" << (switch_ == FwSwitch::Write ? "W" : "-") << "\n";
  o << "link_settings=" << formatLineSettings(config.link) << "\n";
  o << "boot_baud=" << bootBaud_ << "\n";
  o << "pc_mode=" << pcMode_ << "\n";
  o << "model=" << identity.model << "\n";
  o << "model_hex=" << hexText(identity.model) << "\n";
  o << "serial=" << identity.serial << "\n";
  o << "serial_hex=" << hexText(identity.serial) << "\n";
  o << "cmd04=" << int(identity.cmd04[0]) << "\n";
  o << "cmd04_bytes=" << hexBytes({identity.cmd04[0], identity.cmd04[1]}, 0, 2) << "\n";
  o << "cmd06=" << int(identity.cmd06[0]) << "\n";
  o << "cmd06_bytes=" << hexBytes({identity.cmd06[0], identity.cmd06[1]}, 0, 2) << "\n";
  o << "fw_main=" << int(v.main) << "\n";
  o << "fw_rev=" << int(v.rev) << "\n";
  o << "security=" << hexBytes({security_[0], security_[1]}, 0, 2) << "\n";
  o << "flash_sha256=" << sha256Hex(flash) << "\n";
  if (expectedUpdateFile) {
    const Bytes want = flashImageOf(*expectedUpdateFile);
    o << "expected_sha256=" << sha256Hex(want) << "\n";
    o << "flash_matches_update_file=" << (want == flash ? "yes" : "no") << "\n";
  }
  for (const auto& f : faults.faults) o << "fault=" << describeFault(f) << "\n";
  if (faults.dsrStuckOn) o << "fault=dsr-stuck\n";
  if (faults.instrumentSilent) o << "fault=silent\n";
  if (faults.ctsOff) o << "fault=cts-off\n";
  int in = 0, out = 0;
  for (const auto& f : frames_) {
    if (f.bytes.empty()) continue;
    (f.fromPc ? in : out)++;
  }
  o << "frames_in=" << in << "\n";
  o << "frames_out=" << out << "\n";
  o << "violations=" << violations_.size() << "\n";
  for (const auto& x : violations_) {
    o << "violation " << x.atUs << " " << x.text;
    if (x.repeat > 1) o << " (x" << x.repeat << ")";
    o << "\n";
  }
  for (const auto& f : frames_) {
    if (f.bytes.empty()) {
      o << "event " << f.atUs << " " << f.note << "\n";
      continue;
    }
    o << "frame " << f.atUs << (f.fromPc ? " in " : " out ") << f.settings << " [" << frameText(f.bytes) << "] " << f.note << "\n";
  }
  return o.str();
}

}  // namespace vq::sim
