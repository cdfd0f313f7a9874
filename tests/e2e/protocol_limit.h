// The least time the frames of a simulator's report could have taken, for the benchmarks: the
// line time of every frame at the settings it travelled with, the device's own time before each
// reply (its erase, programming and reset delays, as vq-sim timed them), and the pauses the
// program must make (1 ms before each boot frame, the connect stage's line sequence, the link's
// 10 ms tick after each reply within a batch). What the program adds beyond that is its own.
#pragma once
#include <QString>

#include "e2e/sim_process.h"
#include "platform/line_settings.h"

namespace vq::e2e {

struct ProtocolLimit {
  long long bootBytes = 0, linkBytes = 0;
  double bootLineUs = 0, linkLineUs = 0;      // bytes on the line
  double bootDeviceUs = 0, linkDeviceUs = 0;  // the device before its replies
  double bootPauseUs = 0, linkPauseUs = 0;    // the program's prescribed pauses
  int bootFrames = 0, linkRequests = 0;
  double bootUs() const { return bootLineUs + bootDeviceUs + bootPauseUs; }
  double linkUs() const { return linkLineUs + linkDeviceUs + linkPauseUs; }
};

// Bytes of one "frame" line's "[HEX]" part; long frames read "[.. ... .. (260 bytes)]".
inline long long frameBytes(const QString& line) {
  const qsizetype open = line.indexOf('['), close = line.indexOf(']', open);
  if (open < 0 || close < 0) return 0;
  const QString hex = line.mid(open + 1, close - open - 1);
  const qsizetype paren = hex.indexOf('(');
  if (paren >= 0) return hex.mid(paren + 1).section(' ', 0, 0).toLongLong();
  return hex.split(' ', Qt::SkipEmptyParts).size();
}

// linkBatches: how many link batches the frames hold (the first request of each goes out at
// once, every other one a tick after the reply before it).
inline ProtocolLimit protocolLimit(const SimReport& r, int linkBatches) {
  constexpr double kBootPauseUs = 1000;  // before each boot frame
  // DTR, 2 ms, RTS, 150 ms, two sync bytes 7 ms apart; its reset goes without the pause, the
  // baud-rate frame has a pause after it as well: the two cancel out.
  constexpr double kConnectSequenceUs = (2 + 150 + 2 * 7) * 1000.0;
  constexpr double kLinkTickUs = 10'000;
  ProtocolLimit p;
  double lastEndUs = -1;  // end of the previous frame on the line, either direction
  bool bootSeen = false;
  for (const QString& line : r.linesStarting("frame ")) {
    // frame TIME_US in|out SETTINGS [HEX] NOTE; an "in" frame is stamped when its last byte
    // arrived, an "out" frame when its first byte left.
    const double t = line.section(' ', 1, 1).toDouble();
    const bool in = line.section(' ', 2, 2) == "in";
    const auto settings = parseLineSettings(line.section(' ', 3, 3).toStdString());
    if (!settings) continue;
    const long long n = frameBytes(line);
    const double us = double(settings->lineTimeUs(std::size_t(n)));
    const bool boot = settings->parity == 'N';
    (boot ? p.bootBytes : p.linkBytes) += n;
    (boot ? p.bootLineUs : p.linkLineUs) += us;
    if (in) {
      if (boot) {
        ++p.bootFrames;
        p.bootPauseUs += kBootPauseUs;
        bootSeen = true;
      } else {
        ++p.linkRequests;
      }
      lastEndUs = t;
    } else {
      if (lastEndUs >= 0 && t > lastEndUs) (boot ? p.bootDeviceUs : p.linkDeviceUs) += t - lastEndUs;
      lastEndUs = t + us;
    }
  }
  if (bootSeen) p.bootPauseUs += kConnectSequenceUs;
  p.linkPauseUs = kLinkTickUs * std::max(0, p.linkRequests - linkBatches);
  return p;
}

}  // namespace vq::e2e
