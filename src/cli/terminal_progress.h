// The progress seam on a terminal: each new line of the progress box printed once; a line that
// only counts on ("Now writing new firmware 12 Block") rewritten in place with a bar, the
// blocks done, the rate and the time left during step 5. When the output is no terminal, plain
// lines only: no control characters, a counting line at most once a second.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/progress.h"
#include "front/progress_reader.h"

namespace vq::cli {

class TerminalProgress : public Progress {
 public:
  // tty: out is a terminal (rewrite in place); columns: its width.
  TerminalProgress(std::FILE* out, bool tty, int columns);

  // The seam: the window's model is kept as the window would show it, then rendered.
  void linkState(const std::string& text) override;
  void line(const std::string& text, ProgressLine how) override;
  void range(int max) override;
  void value(int v) override;
  void busy(bool on) override;
  void showNow() override;

  // Whole lines of the front end's own ("\r\n" or "\n" between them); a fresh progress box
  // follows them.
  void say(const std::string& text);
  // Ends a line left open for rewriting, before anything else writes to the terminal.
  void closeLine();
  // The bar shows on counting lines while on (step 5).
  void setBlockBar(bool on) { blockBar_ = on; }

  // Milliseconds, monotonic; the steady clock unless replaced (tests).
  std::function<std::int64_t()> nowMs;

  // The bar, counts, rate and time left ("[####----] 256/512  14.6 kB/s  0:09 left").
  std::string barText() const;

 private:
  void render(const std::string& box);
  void print(const std::string& text);
  void rewrite(const std::string& text);
  std::string withBar(const std::string& text, bool plain) const;

  std::FILE* out_;
  bool tty_;
  int columns_;
  front::ProgressReader reader_;  // the box's lines as last printed
  bool open_ = false;               // the last line printed has no line end yet (tty)
  std::int64_t lastCountMs_ = -1'000'000;
  std::int64_t lastRewriteMs_ = -1'000'000;
  bool blockBar_ = false;
  int max_ = 0, value_ = 0;
  int countFrom_ = 0;                // value when the current count started
  std::int64_t countStartMs_ = 0;
};

// The text cut to at most `columns` terminal columns (East Asian wide characters count two),
// whole characters only.
std::string fitWidth(const std::string& text, int columns);

}  // namespace vq::cli
