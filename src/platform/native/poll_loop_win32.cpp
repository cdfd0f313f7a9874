#include <windows.h>

#include "platform/native/poll_loop.h"

namespace vq::native {

// The default tick of 15.6 ms would stretch the protocol's 1 ms pauses and 10 ms timers.
PollLoop::PollLoop() { ::timeBeginPeriod(1); }
PollLoop::~PollLoop() { ::timeEndPeriod(1); }

int PollLoop::waitSet(std::vector<void*>& handles) const {
  handles.clear();
  for (const Watch* w : watches_) {
    if (w->read && w->source.readable) handles.push_back(w->source.readable);
    if (w->write && w->source.writable) handles.push_back(w->source.writable);
  }
  return timeToNextTimerUs();
}

std::vector<PollLoop::Ready> PollLoop::waitReady(int timeoutUs) {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  Ready owners[MAXIMUM_WAIT_OBJECTS];
  DWORD n = 0;
  auto add = [&](HANDLE h, Watch* w, bool readable) {
    if (h && n < MAXIMUM_WAIT_OBJECTS) {
      handles[n] = h;
      owners[n++] = {w, readable, !readable};
    }
  };
  for (Watch* w : watches_) {
    if (w->read) add(static_cast<HANDLE>(w->source.readable), w, true);
    if (w->write) add(static_cast<HANDLE>(w->source.writable), w, false);
  }
  // Rounded up: a wait that ends before the timer is due would only wait again.
  const DWORD ms = timeoutUs < 0 ? INFINITE : DWORD((timeoutUs + 999) / 1000);
  std::vector<Ready> out;
  DWORD first;
  if (wakeOnMessages_) {
    // The window's thread: a message queued (MWMO_INPUTAVAILABLE: also one already in the
    // queue before this wait) ends the wait too; with n == 0 it waits on messages and the timer.
    first = ::MsgWaitForMultipleObjectsEx(n, handles, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (first == WAIT_OBJECT_0 + n) messageArrived_ = true;
  } else {
    if (n == 0) {
      if (ms != 0) ::Sleep(ms);
      return out;
    }
    first = ::WaitForMultipleObjects(n, handles, FALSE, ms);
  }
  if (first >= WAIT_OBJECT_0 + n) return out;
  // The wait names the first signalled handle only; the events are manual-reset, so asking
  // each one again leaves them as they are.
  for (DWORD i = first - WAIT_OBJECT_0; i < n; ++i)
    if (i == first - WAIT_OBJECT_0 || ::WaitForSingleObject(handles[i], 0) == WAIT_OBJECT_0) out.push_back(owners[i]);
  return out;
}

}  // namespace vq::native
