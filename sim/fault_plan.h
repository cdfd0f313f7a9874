// Faults the simulated device can play, as data: which reply (kind and occurrence) and what goes
// wrong with it. The same text form is accepted by vq-sim's --fault option.
//
// Text form: KIND[#N[+COUNT]]:ACTION[=ARGS]
//   KIND    a reply kind (below); N is the 1-based occurrence of that kind since the device was
//           made (default 1); COUNT how many occurrences from N on (default 1, 0 = all).
//   ACTION  drop                 no reply
//           corrupt              reply with a wrong checksum
//           status=XX[,YY]       boot: ST1 (and ST2 of a 6-byte reply), hex; instrument: the
//                                status byte in decimal (51 busy, 10 rejected)
//           delay=MS             reply MS milliseconds later than usual
//           pieces=K/MS          reply in pieces of K bytes, MS milliseconds apart
//           trail=K              K extra 0x00 bytes after the reply
//           join                 the status that follows this reply (write completion after the
//                                last block, second security status) comes right behind it
//           dead                 power lost on this frame: no reply, the device stays off
// Kinds: instrument "inst" (every request) or "iN" (command N, e.g. i127, i124, i5);
//        boot "boot" (every boot frame), "reset", "clock", "baud", "erase", "wcmd", "wdata",
//        "wdone" (completion status), "scmd", "sdata" (first security status),
//        "sdone" (second security status), "vcmd", "vdata".
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vq::sim {

enum class FaultAction { Drop, Corrupt, Status, Delay, Pieces, Trail, Join, Dead };

struct Fault {
  std::string kind;
  int nth = 1;
  int count = 1;  // 0 = every occurrence from nth on
  FaultAction action = FaultAction::Drop;
  int st1 = -1, st2 = -1;    // Status
  std::int64_t delayUs = 0;  // Delay
  int pieceSize = 1;         // Pieces
  std::int64_t gapUs = 0;    // Pieces
  int trailing = 0;          // Trail

  bool covers(int occurrence) const {
    return occurrence >= nth && (count == 0 || occurrence < nth + count);
  }
};

struct FaultPlan {
  std::vector<Fault> faults;
  bool dsrStuckOn = false;        // DSR stays on after power-on
  bool instrumentSilent = false;  // the instrument never answers
  bool ctsOff = false;            // CTS never asserted

  FaultPlan& add(const Fault& f) {
    faults.push_back(f);
    return *this;
  }
};

// Parses the text form above; nothing when it is not of that form.
std::optional<Fault> parseFault(const std::string& text);
std::string describeFault(const Fault& f);

}  // namespace vq::sim
