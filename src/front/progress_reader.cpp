#include "front/progress_reader.h"

#include "base/progress.h"

namespace vq::front {

namespace {

// The line with its digits taken out: two lines that differ only there are one counter.
std::string withoutDigits(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c < '0' || c > '9') out += c;
  return out;
}

}  // namespace

void ProgressReader::read(const std::string& box, const std::function<bool(const Line&)>& take) {
  std::vector<std::string> now = splitLines(box);
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (i < taken_.size() && now[i] == taken_[i]) continue;
    const bool counting = i < taken_.size() && withoutDigits(now[i]) == withoutDigits(taken_[i]);
    if (!take({now[i], counting, i + 1 == now.size()}) && counting) now[i] = taken_[i];
  }
  taken_ = std::move(now);
}

}  // namespace vq::front
