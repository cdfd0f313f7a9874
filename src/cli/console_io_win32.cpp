// A console or a pipe on the standard input cannot be waited on alike, so one thread reads it
// and signals each line end; the wait takes that event and the Ctrl+C event together.
#include <windows.h>
#include <io.h>

#include <atomic>
#include <thread>

#include "cli/console_io.h"

namespace vq::cli {

namespace {

struct LineReader {
  HANDLE line = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);  // one per line end
  HANDLE closed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  LineReader() {
    std::thread([this] {
      const HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
      char c = 0;
      DWORD n = 0;
      while (::ReadFile(in, &c, 1, &n, nullptr) && n == 1)
        if (c == '\n') ::SetEvent(line);
      ::SetEvent(closed);
    }).detach();  // blocked in ReadFile until the input ends or the program does
  }
};

}  // namespace

void prepareConsole() {
  ::SetConsoleOutputCP(CP_UTF8);
  ::SetConsoleCP(CP_UTF8);
}

bool isTerminal(std::FILE* f) { return ::_isatty(::_fileno(f)) != 0; }

int terminalColumns(std::FILE* f, int fallback) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  const HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(f)));
  if (h != INVALID_HANDLE_VALUE && ::GetConsoleScreenBufferInfo(h, &info))
    return info.srWindow.Right - info.srWindow.Left + 1;
  return fallback;
}

InputWait waitForLine(InterruptWatch& interrupts) {
  static LineReader reader;
  const HANDLE handles[3] = {static_cast<HANDLE>(interrupts.waitable().readable), reader.line, reader.closed};
  for (;;) {
    const DWORD r = ::WaitForMultipleObjects(3, handles, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0) {
      if (interrupts.take() > 0) return InputWait::Interrupted;
      continue;
    }
    if (r == WAIT_OBJECT_0 + 1) return InputWait::Line;
    return InputWait::Closed;
  }
}

}  // namespace vq::cli
