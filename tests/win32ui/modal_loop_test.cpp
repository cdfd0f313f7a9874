// The window's loop keeps the serial port's events and the timers served while a modal loop
// of the system runs (a message box, a dialog box): a batch left open must not stall while a
// box is up. The source here is an event another thread sets, as an overlapped read's
// completion would; the timer ticks every 5 ms, as tmrComm does at 10.
#include <gtest/gtest.h>
#include <windows.h>

#include <commdlg.h>

#include <atomic>
#include <thread>

#include "win32ui/window_loop.h"

namespace {

using vq::win32ui::WindowLoop;

enum class Modal { MessageBox, DialogBox, FileDialog };

// A dialog box from a template in memory: the system's dialog loop, as the file dialog's.
INT_PTR showDialog() {
  struct alignas(4) Template {
    DLGTEMPLATE t;
    WORD menu = 0, cls = 0;
    wchar_t title[16] = L"vq-modal-test";
  } tpl{};
  tpl.t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
  tpl.t.cx = 120;
  tpl.t.cy = 40;
  return ::DialogBoxIndirectParamW(
      ::GetModuleHandleW(nullptr), &tpl.t, nullptr,
      [](HWND dlg, UINT msg, WPARAM wp, LPARAM) -> INT_PTR {
        if (msg == WM_COMMAND && LOWORD(wp) == IDOK) ::EndDialog(dlg, IDOK);
        return msg == WM_INITDIALOG;
      },
      0);
}

void showModal(Modal kind) {
  if (kind == Modal::MessageBox) {
    ::MessageBoxW(nullptr, L"served?", L"vq-modal-test", MB_OK);
  } else if (kind == Modal::DialogBox) {
    showDialog();
  } else {
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = L"Bin code\0*.bin\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = L"vq-modal-test";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
    ::GetOpenFileNameW(&ofn);
  }
}

TEST(ModalLoop, ThePortAndTheTimersAreServedInsideTheSystemsModalLoops) {
  struct Case {
    Modal kind;
    bool scoped;  // the box shown inside a ModalScope, as the platform shows its boxes
  } const cases[] = {
      {Modal::MessageBox, true},
      {Modal::DialogBox, true},
      {Modal::FileDialog, true},
      // Without the scope nothing waits on our handles: the test sees a stall.
      {Modal::MessageBox, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "modal " << int(c.kind) << ", scoped " << c.scoped);
    WindowLoop loop;
    HANDLE input = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> ticks{0}, reads{0};
    auto timer = loop.events().timer(false, [&] { ++ticks; });
    auto watch = loop.events().watch(
        vq::native::Waitable{input, nullptr},
        [&] {
          ++reads;
          ::ResetEvent(input);
        },
        nullptr);
    timer->start(5);
    std::atomic<bool> done{false};
    // The "device": input arrives twice while the box is up, the second time once the first
    // has been read (or a second has passed); then the operator presses OK.
    std::thread device([&] {
      HWND box = nullptr;
      for (int i = 0; i < 1000 && !(box = ::FindWindowW(nullptr, L"vq-modal-test")); ++i) ::Sleep(10);
      ::Sleep(100);
      for (int n = 1; n <= 2; ++n) {
        ::SetEvent(input);
        for (int i = 0; i < 100 && reads < n; ++i) ::Sleep(10);
      }
      ::Sleep(300);
      if (box) ::PostMessageW(box, WM_COMMAND, c.kind == Modal::FileDialog ? IDCANCEL : IDOK, 0);
      done = true;
    });
    {
      std::unique_ptr<WindowLoop::ModalScope> scope;
      if (c.scoped) scope = std::make_unique<WindowLoop::ModalScope>(loop);
      showModal(c.kind);
    }
    device.join();
    EXPECT_TRUE(done);
    if (c.scoped) {
      // About 80 ticks in the 400 ms after the box is found; a loose bound, Wine's wait is not
      // precise.
      EXPECT_GE(ticks, 20);
      EXPECT_EQ(reads, 2);
      EXPECT_GT(loop.servedInModal(), 20);
    } else {
      EXPECT_EQ(ticks, 0);
      EXPECT_EQ(reads, 0);
    }
    // Back in our own loop, the same sources are served there.
    ::SetEvent(input);
    const int before = reads.load();
    for (int i = 0; i < 50 && reads == before; ++i) loop.pump(true);
    EXPECT_EQ(reads, before + 1);
    ::CloseHandle(input);
  }
}

}  // namespace
