// Reads the progress box as it changes, for a front end that prints it line by line (the
// terminal, the autopilot): which lines are new or rewritten since the last reading, and
// which of those only count on ("Now writing new firmware 12 Block").
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace vq::front {

class ProgressReader {
 public:
  struct Line {
    std::string text;
    bool counting;  // the line it replaces differs only in its digits
    bool last;      // the box's last line
  };
  // Offers each new or changed line of the box to take(). A counting line take() declines is
  // held back: its next value is compared with the one taken before.
  void read(const std::string& box, const std::function<bool(const Line&)>& take);
  // What the front end wrote itself in between: the next box is all new.
  void clear() { taken_.clear(); }

 private:
  std::vector<std::string> taken_;  // the box's lines as last taken
};

}  // namespace vq::front
