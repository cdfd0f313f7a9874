// The one way protocol code reports to the operator: the link state, the progress log, the
// progress value and the busy cursor. The wizard's implementation writes the main window's
// model; a terminal or a trace implements it otherwise and installs itself.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace vq {

// How a progress line goes into the log.
enum class ProgressLine {
  Restart,      // the log starts afresh with this line, which is kept
  ReplaceLast,  // replaces the last line below the kept ones
  KeepLast,     // as ReplaceLast, and the line is kept: the next one goes below it
};

class Progress {
 public:
  virtual ~Progress() = default;
  // The state of the link or the boot exchange ("Send", "Wait", "CHIP ERASE SEND", ...).
  virtual void linkState(const std::string& text) = 0;
  virtual void line(const std::string& text, ProgressLine how) = 0;
  // Progress runs from 0 to max.
  virtual void range(int max) = 0;
  virtual void value(int v) = 0;
  virtual void busy(bool on) = 0;
  // Shows what was reported at once instead of at the next yield.
  virtual void showNow() = 0;
};

// The wizard's implementation: frmMain's status panel 2, txtProcess (with gProgressLog as its
// kept part), prgProcess and the busy cursor. The two hooks reach the screen; installing the
// platform connects them.
class FormProgress : public Progress {
 public:
  void linkState(const std::string& text) override;
  void line(const std::string& text, ProgressLine how) override;
  void range(int max) override;
  void value(int v) override;
  void busy(bool on) override;
  void showNow() override;

  std::function<void(bool)> setCursor;
  std::function<void()> repaint;
};

FormProgress& formProgress();
// The installed implementation; the wizard's when none is installed.
Progress& progress();
// nullptr goes back to the wizard's.
void installProgress(Progress* p);

// The kept part of txtProcess: the lines a new progress line goes below. FormProgress::line
// and subShowBelowProgress are the ones that write it.
extern std::string gProgressLog;
// Its start-up value (empty); resetBaseState() calls it.
void resetProgressState();

// Keeps a line below everything the progress box shows, its last line included: a cause, a
// note that must stay in view while later lines come.
void subShowBelowProgress(const std::string& line);

// The lines of a progress or message text (CR LF or LF between them), as a reader sees them.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace vq
