#include "platform/platform.h"

#include "base/error_display.h"
#include "base/progress.h"
#include "platform/app_windows.h"

#include <cstdlib>
#include <cstdio>

namespace vq {
namespace {
Platform* gPlatform = nullptr;
SerialPort* gPort = nullptr;
Timer* gTimer = nullptr;
Windows* gWindows = nullptr;

// Stands in while no windows are installed (a program or test without a front end).
class NoWindows : public Windows {
 public:
  void showForceUpdateDialog() override {}
  void showPortConfDialog() override {}
  void closePortConfDialog() override {}
  void refresh() override {}
  void quit() override {}
};

template <class T>
T& need(T* p, const char* what) {
  if (!p) {
    std::fprintf(stderr, "platform not installed: %s\n", what);
    std::abort();
  }
  return *p;
}
}  // namespace

Platform& platform() { return need(gPlatform, "platform"); }
SerialPort& mscComm() { return need(gPort, "mscComm"); }
Timer& tmrComm() { return need(gTimer, "tmrComm"); }

Windows& windows() {
  static NoWindows none;
  return gWindows ? *gWindows : none;
}

void installWindows(Windows* w) { gWindows = w; }

void installPlatform(Platform* p, SerialPort* port, Timer* timer) {
  gPlatform = p;
  gPort = port;
  gTimer = timer;
  if (p) {
    setErrorMessageBox([](const std::string& text) { platform().messageBox(text); });
    formProgress().setCursor = [](bool on) { platform().setBusyCursor(on); };
    formProgress().repaint = [] { windows().refresh(); };
  } else {
    setErrorMessageBox(nullptr);
    formProgress().setCursor = nullptr;
    formProgress().repaint = nullptr;
  }
}

}  // namespace vq
