// The window's thread and its one loop: window messages, the serial port's events and the
// timers (tmrComm's among them) waited on together by native::PollLoop with a wake on
// messages, so neither a thread nor polling drives the port.
//
// A modal loop of the system (MessageBoxW, GetOpenFileNameW, moving the window, the system
// menu) pumps messages but knows nothing of our handles: inside a ModalScope a small waker
// thread waits on the same handles and the nearest timer and posts one message to our hidden
// window when one is ready; that window's procedure, called by whichever loop is pumping,
// runs the handlers on the window's thread. One wait over every handle and the deadline,
// re-armed only after each serve, rather than RegisterWaitForSingleObject per handle: the
// port's events are manual-reset and stay signalled until served, so a wait registered on
// them would post again and again; and the set of handles changes between serves (a port
// opened, a write in flight).
#pragma once
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/native/poll_loop.h"

namespace vq::win32ui {

class WindowLoop {
 public:
  WindowLoop();
  ~WindowLoop();
  WindowLoop(const WindowLoop&) = delete;
  WindowLoop& operator=(const WindowLoop&) = delete;

  native::PollLoop& events() { return loop_; }

  // Handles the messages, ready sources and due timers there are; with wait, first blocks
  // until there is at least one. Returns how many were handled (a WM_QUIT counts).
  int pump(bool wait);
  bool quitting() const { return quitting_; }
  int exitCode() const { return exitCode_; }

  // Runs f on the window's thread from a message of its own, once the current handler has
  // returned (a click from the autopilot, which must not run nested inside its own tick).
  void post(std::function<void()> f);

  // Given a message before it is dispatched; true when it took it (IsDialogMessage).
  std::function<bool(MSG&)> preTranslate;

  // Around every modal loop the system runs on this thread.
  void enterModal();
  void leaveModal();
  class ModalScope {
   public:
    explicit ModalScope(WindowLoop& l) : loop_(l) { loop_.enterModal(); }
    ~ModalScope() { loop_.leaveModal(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    WindowLoop& loop_;
  };
  // How many times a modal loop let the waker serve (for the tests).
  long servedInModal() const { return servedInModal_; }

 private:
  static LRESULT CALLBACK hiddenProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  int pumpMessages();
  void serve();
  void arm();
  void wakerRun();

  native::PollLoop loop_;
  HWND hidden_ = nullptr;
  bool quitting_ = false;
  int exitCode_ = 0;
  int modalDepth_ = 0;
  long servedInModal_ = 0;
  std::deque<std::function<void()>> posted_;

  // The waker's side, shared under the mutex.
  std::mutex mutex_;
  HANDLE changed_ = nullptr;  // auto-reset: a new set to wait on, or the end
  std::vector<HANDLE> handles_;
  DWORD timeoutMs_ = INFINITE;
  bool armed_ = false;
  bool stop_ = false;
  std::thread waker_;
};

}  // namespace vq::win32ui
