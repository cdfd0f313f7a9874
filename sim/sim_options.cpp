#include "sim_options.h"

#include <array>
#include <cstdlib>
#include <string>

#include "base/arg_reader.h"
#include "platform/line_settings.h"
#include "update_file.h"

namespace vq::sim {

namespace {

// The longest delay an option takes: a day, far beyond any time-out of the program, and
// far from overflowing the microseconds it is kept in.
constexpr long kMaxOptionMs = 86'400'000;

bool parseMs(const std::string& s, std::int64_t& us) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end || v < 0 || v > kMaxOptionMs) return false;
  us = std::int64_t(v) * 1000;
  return true;
}

bool parsePair(const std::string& s, std::array<std::uint8_t, 2>& out) {
  auto comma = s.find(',');
  // strtol's end pointer points into the text it read: keep each part alive while it is checked.
  const std::string first = s.substr(0, comma);
  char* end = nullptr;
  long a = std::strtol(first.c_str(), &end, 0);
  if (*end || a < 0 || a > 255) return false;
  long b = 0;
  if (comma != std::string::npos) {
    const std::string second = s.substr(comma + 1);
    b = std::strtol(second.c_str(), &end, 0);
    if (*end || b < 0 || b > 255) return false;
  }
  out = {std::uint8_t(a), std::uint8_t(b)};
  return true;
}

}  // namespace

std::optional<std::string> parseSimOptions(const std::vector<std::string>& args, SimOptions& o,
                                           const ReadFileFn& readFile) {
  ArgReader r(args);
  while (!r.done()) {
    const std::string a = r.name();
    std::string v;
    if (r.flag("--help") || r.flag("-h")) {
      o.help = true;
      return std::nullopt;
    } else if (r.flag("--realtime")) {
      o.realtime = true;
    } else if (r.flag("--pace")) {
      o.opt.pace = true;
    } else if (r.flag("--no-stdin")) {
      o.opt.readStdin = false;
    } else if (r.flag("--off")) {
      o.startOff = true;
    } else if (r.flag("--flash-erased")) {
      o.erased = true;
    } else if (r.flag("--dsr-stuck")) {
      o.faults.dsrStuckOn = true;
    } else if (r.flag("--silent")) {
      o.faults.instrumentSilent = true;
    } else if (r.value(a, v) != ArgReader::Took::Yes) {
      return std::string("unknown option or missing value: " + a);
    } else if (a == "--link") {
      o.opt.linkPath = v;
    } else if (a == "--control") {
      o.opt.controlPath = v;
    } else if (a == "--report") {
      o.opt.reportPath = v;
    } else if (a == "--expect-file") {
      vq::Bytes b;
      if (!readFile(v, b)) return std::string("cannot read " + v);
      o.opt.expectFile = b;
    } else if (a == "--switch") {
      if (v != "auto" && v != "manual") return std::string("--switch takes auto or manual");
      o.cfg.autoSwitch = v == "auto";
    } else if (a == "--position") {
      if (v != "-" && v != "W" && v != "w") return std::string("--position takes - or W");
      o.position = v == "-" ? FwSwitch::Normal : FwSwitch::Write;
    } else if (a == "--model") {
      o.id.model = v;
      o.id.model.resize(8, ' ');
    } else if (a == "--serial") {
      o.id.serial = v;
      o.id.serial.resize(6, ' ');
    } else if (a == "--cmd04") {
      if (!parsePair(v, o.id.cmd04)) return std::string("bad --cmd04");
    } else if (a == "--cmd06") {
      if (!parsePair(v, o.id.cmd06)) return std::string("bad --cmd06");
    } else if (a == "--version") {
      auto ver = parseVersionText(v);
      if (!ver) return std::string("bad --version, want A.B.C");
      o.cfg.fallbackVersion = versionOf(*ver);
    } else if (a == "--flash") {
      o.flashFile = v;
    } else if (a == "--link-settings") {
      auto s = vq::parseLineSettings(v);
      if (!s) return std::string("bad --link-settings");
      o.cfg.link = *s;
    } else if (a == "--mode-reply") {
      if (v != "1" && v != "7") return std::string("--mode-reply takes 1 or 7");
      o.cfg.modeReplyLength = std::stoi(v);
    } else if (a == "--init-ms") {
      if (!parseMs(v, o.cfg.initDelayUs)) return std::string("bad --init-ms");
    } else if (a == "--erase-ms") {
      if (!parseMs(v, o.cfg.eraseUs)) return std::string("bad --erase-ms");
    } else if (a == "--program-ms") {
      if (!parseMs(v, o.cfg.programBlockUs)) return std::string("bad --program-ms");
    } else if (a == "--completion-ms") {
      if (!parseMs(v, o.cfg.completionUs)) return std::string("bad --completion-ms");
    } else if (a == "--security-ms") {
      auto comma = v.find(',');
      if (comma == std::string::npos || !parseMs(v.substr(0, comma), o.cfg.securityFirstUs) ||
          !parseMs(v.substr(comma + 1), o.cfg.securitySecondUs))
        return std::string("bad --security-ms, want N,M");
    } else if (a == "--dsr-ms") {
      if (!parseMs(v, o.cfg.dsrOnUs)) return std::string("bad --dsr-ms");
    } else if (a == "--fault") {
      auto f = parseFault(v);
      if (!f) return std::string("bad --fault " + v);
      o.faults.add(*f);
    } else {
      return std::string("unknown option " + a);
    }
  }

  return std::nullopt;
}

}  // namespace vq::sim
