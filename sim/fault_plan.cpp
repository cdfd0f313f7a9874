#include "fault_plan.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace vq::sim {
namespace {

// Beyond these a plan means nothing a test could wait for, and the arithmetic on them (µs,
// nth + count) would overflow.
constexpr long kMaxOccurrence = 1'000'000;
constexpr long kMaxDelayMs = 24L * 3600 * 1000;
// No reply is longer than a flash; a bigger piece is the whole reply in one piece anyway.
constexpr long kMaxPieceSize = 1L << 20;

bool toInt(const std::string& s, int base, long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtol(s.c_str(), &end, base);
  return *end == '\0';
}

bool knownKind(const std::string& k) {
  static const char* kinds[] = {"inst", "boot", "reset", "clock", "baud", "erase", "wcmd", "wdata",
                                "wdone", "scmd", "sdata", "sdone", "vcmd", "vdata"};
  for (const char* s : kinds)
    if (k == s) return true;
  if (k.size() >= 2 && k[0] == 'i') {
    long n;
    return toInt(k.substr(1), 10, n) && n >= 0 && n <= 255;
  }
  return false;
}

}  // namespace

std::optional<Fault> parseFault(const std::string& text) {
  auto colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  std::string head = text.substr(0, colon), act = text.substr(colon + 1);
  Fault f;
  auto hash = head.find('#');
  f.kind = head.substr(0, hash);
  if (!knownKind(f.kind)) return std::nullopt;
  if (hash != std::string::npos) {
    std::string occ = head.substr(hash + 1);
    auto plus = occ.find('+');
    long n;
    if (!toInt(occ.substr(0, plus), 10, n) || n < 1 || n > kMaxOccurrence) return std::nullopt;
    f.nth = int(n);
    if (plus != std::string::npos) {
      if (!toInt(occ.substr(plus + 1), 10, n) || n < 0 || n > kMaxOccurrence) return std::nullopt;
      f.count = int(n);
    }
  }
  auto eq = act.find('=');
  std::string name = act.substr(0, eq), arg = eq == std::string::npos ? "" : act.substr(eq + 1);
  bool hasArg = eq != std::string::npos;
  long v;
  if (name == "drop" && !hasArg) {
    f.action = FaultAction::Drop;
  } else if (name == "corrupt" && !hasArg) {
    f.action = FaultAction::Corrupt;
  } else if (name == "join" && !hasArg) {
    f.action = FaultAction::Join;
  } else if (name == "dead" && !hasArg) {
    f.action = FaultAction::Dead;
  } else if (name == "status" && hasArg) {
    f.action = FaultAction::Status;
    auto comma = arg.find(',');
    // Boot statuses are written in hex as the protocol tables give them, instrument statuses in
    // decimal as the status classes do.
    int base = f.kind == "inst" || (f.kind[0] == 'i' && std::isdigit(static_cast<unsigned char>(f.kind[1]))) ? 10 : 16;
    if (!toInt(arg.substr(0, comma), base, v) || v < 0 || v > 255) return std::nullopt;
    f.st1 = int(v);
    if (comma != std::string::npos) {
      if (!toInt(arg.substr(comma + 1), base, v) || v < 0 || v > 255) return std::nullopt;
      f.st2 = int(v);
    }
  } else if (name == "delay" && hasArg) {
    f.action = FaultAction::Delay;
    if (!toInt(arg, 10, v) || v < 0 || v > kMaxDelayMs) return std::nullopt;
    f.delayUs = v * 1000;
  } else if (name == "pieces" && hasArg) {
    f.action = FaultAction::Pieces;
    auto slash = arg.find('/');
    if (slash == std::string::npos || !toInt(arg.substr(0, slash), 10, v) || v < 1 || v > kMaxPieceSize) return std::nullopt;
    f.pieceSize = int(v);
    if (!toInt(arg.substr(slash + 1), 10, v) || v < 0 || v > kMaxDelayMs) return std::nullopt;
    f.gapUs = v * 1000;
  } else if (name == "trail" && hasArg) {
    f.action = FaultAction::Trail;
    if (!toInt(arg, 10, v) || v < 1 || v > 255) return std::nullopt;
    f.trailing = int(v);
  } else {
    return std::nullopt;
  }
  return f;
}

std::string describeFault(const Fault& f) {
  std::string s = f.kind + "#" + std::to_string(f.nth) + "+" + std::to_string(f.count) + ":";
  switch (f.action) {
    case FaultAction::Drop: return s + "drop";
    case FaultAction::Corrupt: return s + "corrupt";
    case FaultAction::Join: return s + "join";
    case FaultAction::Dead: return s + "dead";
    case FaultAction::Status: {
      const bool instrument = f.kind == "inst" || (f.kind[0] == 'i' && std::isdigit(static_cast<unsigned char>(f.kind[1])));
      auto num = [&](int v) {
        if (instrument) return std::to_string(v);
        char b[4];
        std::snprintf(b, sizeof b, "%02X", v & 0xFF);
        return std::string(b);
      };
      return s + "status=" + num(f.st1) + (f.st2 >= 0 ? "," + num(f.st2) : "");
    }
    case FaultAction::Delay: return s + "delay=" + std::to_string(f.delayUs / 1000);
    case FaultAction::Pieces: return s + "pieces=" + std::to_string(f.pieceSize) + "/" + std::to_string(f.gapUs / 1000);
    case FaultAction::Trail: return s + "trail=" + std::to_string(f.trailing);
  }
  return s;
}

}  // namespace vq::sim
