#include "base/progress.h"

#include "base/forms.h"

namespace vq {

namespace {
FormProgress gFormProgress;
Progress* gProgress = nullptr;
}  // namespace

std::string gProgressLog;

void resetProgressState() { gProgressLog.clear(); }

void FormProgress::linkState(const std::string& text) { frmMain.stsAppStatus.panel2 = text; }

void FormProgress::line(const std::string& text, ProgressLine how) {
  std::string& box = frmMain.txtProcess.text;
  switch (how) {
    case ProgressLine::Restart:
      box = text;
      gProgressLog = box;
      break;
    case ProgressLine::ReplaceLast:
      box = gProgressLog + "\r\n" + text;
      break;
    case ProgressLine::KeepLast:
      box = gProgressLog + "\r\n" + text;
      gProgressLog = box;
      break;
  }
}

void subShowBelowProgress(const std::string& line) {
  if (frmMain.txtProcess.text.empty()) {
    progress().line(line, ProgressLine::Restart);
    return;
  }
  gProgressLog = frmMain.txtProcess.text;
  progress().line(line, ProgressLine::KeepLast);
}

void FormProgress::range(int max) {
  frmMain.prgProcess.max = max;
  frmMain.prgProcess.min = 0;
}

void FormProgress::value(int v) { frmMain.prgProcess.value = v; }

void FormProgress::busy(bool on) {
  frmMain.busyCursor = on;
  if (setCursor) setCursor(on);
}

void FormProgress::showNow() {
  if (repaint) repaint();
}

FormProgress& formProgress() { return gFormProgress; }

Progress& progress() { return gProgress ? *gProgress : gFormProgress; }

void installProgress(Progress* p) { gProgress = p; }

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

}  // namespace vq
