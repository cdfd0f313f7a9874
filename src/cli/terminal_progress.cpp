#include "cli/terminal_progress.h"

#include <chrono>

#include "base/forms.h"
#include "base/image_state.h"

namespace vq::cli {

namespace {

// A counting line is printed at most this often when the output is no terminal, and
// rewritten at most this often on one.
constexpr std::int64_t kPlainCountEveryMs = 1000;
constexpr std::int64_t kRewriteEveryMs = 50;
constexpr int kBarCells = 24;
constexpr double kBytesPerBlock = kBlockSize;

// Code point at s[i] (advancing i); a broken sequence counts as one byte.
char32_t nextCodePoint(const std::string& s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  char32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
  std::size_t j = i + 1;
  for (; extra > 0 && j < s.size() && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80; --extra, ++j)
    cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
  i = j;
  return cp;
}

bool wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

std::string clock(double seconds) {
  const long s = long(seconds + 0.5);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
  return buf;
}

}  // namespace

std::string fitWidth(const std::string& text, int columns) {
  int w = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    const int cw = wide(nextCodePoint(text, j)) ? 2 : 1;
    if (w + cw > columns) break;
    w += cw;
    i = j;
  }
  return text.substr(0, i);
}

TerminalProgress::TerminalProgress(std::FILE* out, bool tty, int columns) : out_(out), tty_(tty), columns_(columns) {
  const auto start = std::chrono::steady_clock::now();
  nowMs = [start] {
    return std::int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  };
}

void TerminalProgress::linkState(const std::string& text) { formProgress().linkState(text); }

void TerminalProgress::line(const std::string& text, ProgressLine how) {
  formProgress().line(text, how);
  render(frmMain.txtProcess.text);
}

void TerminalProgress::range(int max) {
  formProgress().range(max);
  max_ = max;
  countFrom_ = 0;
  countStartMs_ = nowMs();
}

void TerminalProgress::value(int v) {
  formProgress().value(v);
  // A count starting again (the write after the image, the verify after the write) restarts
  // the rate.
  if (v < value_) {
    countFrom_ = v;
    countStartMs_ = nowMs();
  }
  value_ = v;
}

void TerminalProgress::busy(bool on) { formProgress().busy(on); }

void TerminalProgress::showNow() {}

std::string TerminalProgress::barText() const {
  const int max = max_ > 0 ? max_ : 1;
  const int v = std::min(std::max(value_, 0), max);
  const int full = v * kBarCells / max;
  std::string bar = "[" + std::string(std::size_t(full), '#') + std::string(std::size_t(kBarCells - full), '-') + "] ";
  bar += std::to_string(v) + "/" + std::to_string(max);
  const double seconds = double(nowMs() - countStartMs_) / 1000.0;
  const int done = v - countFrom_;
  if (done > 0 && seconds > 0.05) {
    const double perSecond = done / seconds;
    char buf[64];
    std::snprintf(buf, sizeof buf, "  %.1f kB/s  %s left", perSecond * kBytesPerBlock / 1000.0,
                  clock(double(max - v) / perSecond).c_str());
    bar += buf;
  }
  return bar;
}

std::string TerminalProgress::withBar(const std::string& text, bool plain) const {
  if (!blockBar_ || max_ <= 0) return text;
  return plain ? text + "  " + barText() : barText() + "  " + text;
}

void TerminalProgress::print(const std::string& text) {
  if (tty_) {
    std::fputs(open_ ? "\n" : "", out_);
    std::fputs(fitWidth(text, columns_ - 1).c_str(), out_);
    open_ = true;  // left open: a counting line that follows rewrites it
  } else {
    std::fprintf(out_, "%s\n", text.c_str());
  }
  std::fflush(out_);
}

void TerminalProgress::rewrite(const std::string& text) {
  std::fputs("\r\x1b[K", out_);
  std::fputs(fitWidth(text, columns_ - 1).c_str(), out_);
  open_ = true;
  std::fflush(out_);
}

void TerminalProgress::render(const std::string& box) {
  const std::int64_t t = nowMs();
  reader_.read(box, [&](const front::ProgressReader::Line& l) {
    if (!l.counting) {
      print(l.text);
      return true;
    }
    if (tty_) {
      // Only the last line can be rewritten; the final count shows once the stage goes on.
      if (!l.last || t - lastRewriteMs_ < kRewriteEveryMs) return false;
      rewrite(withBar(l.text, false));
      lastRewriteMs_ = t;
      return true;
    }
    if (t - lastCountMs_ < kPlainCountEveryMs) return false;
    std::fprintf(out_, "%s\n", withBar(l.text, true).c_str());
    std::fflush(out_);
    lastCountMs_ = t;
    return true;
  });
}

void TerminalProgress::say(const std::string& text) {
  closeLine();
  for (const std::string& l : splitLines(text)) std::fprintf(out_, "%s\n", l.c_str());
  std::fflush(out_);
  reader_.clear();
}

void TerminalProgress::closeLine() {
  if (open_) std::fputs("\n", out_);
  open_ = false;
  std::fflush(out_);
}

}  // namespace vq::cli
