// Settings text of the serial port ("307200,o,8,1", "9600,N,8,1", "1.5" stop bits), parsed once
// here so the Qt port, the virtual line and the simulator agree on its meaning.
#pragma once
#include <optional>
#include <string>

namespace vq {

struct LineSettings {
  int baud = 9600;
  char parity = 'N';  // upper case: N, O, E, M, S
  int dataBits = 8;
  int stopBitsTimes2 = 2;  // 2 = one stop bit, 3 = one and a half, 4 = two

  // Bits one character takes on the line: start + data + parity + stop.
  double bitsPerChar() const;
  // Microseconds a run of n characters takes on the line at these settings.
  long long lineTimeUs(std::size_t n) const;
  bool operator==(const LineSettings&) const = default;
};

// Parses "baud,parity,data,stop"; letter case ignored, blanks around fields ignored.
// Returns nothing when the text is not of that form (a port refuses such settings).
std::optional<LineSettings> parseLineSettings(const std::string& text);

// Canonical text of parsed settings, e.g. "307200,O,8,1".
std::string formatLineSettings(const LineSettings& s);

}  // namespace vq
