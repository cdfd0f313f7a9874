#include "win32ui/window_loop.h"

#include "platform/native/event_loop.h"

namespace vq::win32ui {

namespace {
constexpr UINT kServe = WM_APP + 1;   // the waker: a source is ready or a timer is due
constexpr UINT kPosted = WM_APP + 2;  // post(): run what was posted
constexpr wchar_t kHiddenClass[] = L"vq-update.loop";
}  // namespace

WindowLoop::WindowLoop() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = hiddenProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kHiddenClass;
  ::RegisterClassW(&wc);
  // A message-only window: never shown, never enumerated, still served by any loop that
  // dispatches this thread's messages.
  hidden_ = ::CreateWindowExW(0, kHiddenClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ::SetWindowLongPtrW(hidden_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  loop_.setWakeOnMessages(true);
  changed_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  waker_ = std::thread([this] { wakerRun(); });
}

WindowLoop::~WindowLoop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  ::SetEvent(changed_);
  waker_.join();
  ::CloseHandle(changed_);
  ::DestroyWindow(hidden_);
}

int WindowLoop::pumpMessages() {
  int n = 0;
  MSG msg;
  while (!quitting_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ++n;
    if (msg.message == WM_QUIT) {
      quitting_ = true;
      exitCode_ = int(msg.wParam);
      break;
    }
    if (preTranslate && preTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return n;
}

int WindowLoop::pump(bool wait) {
  int handled = pumpMessages();
  if (quitting_) return handled + 1;
  handled += loop_.runOnce(false);
  if (handled > 0 || !wait) return handled;
  for (;;) {
    // Ends on a handler run or a message in the queue.
    const int n = loop_.runOnce(true) + pumpMessages();
    if (n > 0 || quitting_) return n + (quitting_ ? 1 : 0);
  }
}

void WindowLoop::post(std::function<void()> f) {
  posted_.push_back(std::move(f));
  ::PostMessageW(hidden_, kPosted, 0, 0);
}

LRESULT CALLBACK WindowLoop::hiddenProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<WindowLoop*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && msg == kServe) {
    self->serve();
    return 0;
  }
  if (self && msg == kPosted) {
    if (self->posted_.empty()) return 0;
    auto f = std::move(self->posted_.front());
    self->posted_.pop_front();
    native::runGuarded(f);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void WindowLoop::enterModal() {
  if (modalDepth_++ == 0) arm();
}

void WindowLoop::leaveModal() {
  if (--modalDepth_ > 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  armed_ = false;
  ::SetEvent(changed_);
}

void WindowLoop::serve() {
  if (modalDepth_ == 0) return;  // late: our own loop serves again
  ++servedInModal_;
  loop_.runOnce(false);
  if (modalDepth_ > 0) arm();
}

void WindowLoop::arm() {
  std::vector<void*> handles;
  const int us = loop_.waitSet(handles);
  std::lock_guard<std::mutex> lock(mutex_);
  handles_.assign(handles.begin(), handles.end());
  timeoutMs_ = us < 0 ? INFINITE : DWORD((us + 999) / 1000);
  armed_ = true;
  ::SetEvent(changed_);
}

void WindowLoop::wakerRun() {
  for (;;) {
    std::vector<HANDLE> wait{changed_};
    DWORD timeout = INFINITE;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
      if (armed_) {
        wait.insert(wait.end(), handles_.begin(), handles_.end());
        timeout = timeoutMs_;
      }
    }
    if (wait.size() > MAXIMUM_WAIT_OBJECTS) wait.resize(MAXIMUM_WAIT_OBJECTS);
    const DWORD r = ::WaitForMultipleObjects(DWORD(wait.size()), wait.data(), FALSE, timeout);
    if (r == WAIT_OBJECT_0) continue;  // a new set, disarmed, or the end
    {
      // Once per arming: the window's thread arms again after it has served.
      std::lock_guard<std::mutex> lock(mutex_);
      if (!armed_) continue;
      armed_ = false;
    }
    ::PostMessageW(hidden_, kServe, 0, 0);
  }
}

}  // namespace vq::win32ui
