// The serial device on Windows: CreateFile on \\.\COMn for this program alone, the line through
// a DCB, and overlapped I/O so the event loop waits on two events: the read in flight (posted
// again as soon as its bytes are taken) and the write in flight (signalled once the driver has
// it). A read returns as soon as bytes came and the line then fell silent for a millisecond.
#include <windows.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/native/serial_device.h"
#include "platform/native/windows_text.h"

namespace vq::native {

namespace {

// The driver's queues, asked of SetupComm; a read takes what one holds.
constexpr DWORD kQueueBytes = 4096;
// The most one WriteFile carries; more waits for the next.
constexpr std::size_t kWriteMax = 65536;

BYTE parityOf(char p) {
  switch (p) {
    case 'O': return ODDPARITY;
    case 'E': return EVENPARITY;
    case 'M': return MARKPARITY;
    case 'S': return SPACEPARITY;
    default: return NOPARITY;
  }
}

// The name of the lock other copies of this program look for: Windows refuses a second
// CreateFile of a port by itself, Wine does not.
std::wstring lockName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
  return L"Local\\vq-update-port-" + wideText(name);
}

}  // namespace

struct SerialDevice::Io {
  HANDLE h = INVALID_HANDLE_VALUE;
  HANDLE lock = nullptr;
  OVERLAPPED ro{};
  OVERLAPPED wo{};
  std::vector<std::uint8_t> rbuf = std::vector<std::uint8_t>(kQueueBytes);
  std::vector<std::uint8_t> wbuf;
  std::vector<std::uint8_t> held;  // read, not yet taken (a caller's buffer smaller than ours)
  bool readPending = false;
  bool writePending = false;
  std::string gone;  // why the device failed; empty while it works
  bool rts = false;
  bool dtr = false;

  Io() {
    ro.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Signalled while no write is in flight: the driver can take output.
    wo.hEvent = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
  }
  ~Io() {
    if (h != INVALID_HANDLE_VALUE) {
      ::CancelIoEx(h, nullptr);
      DWORD n = 0;
      if (readPending) ::GetOverlappedResult(h, &ro, &n, TRUE);
      if (writePending) ::GetOverlappedResult(h, &wo, &n, TRUE);
      ::CloseHandle(h);
    }
    if (lock) ::CloseHandle(lock);
    ::CloseHandle(ro.hEvent);
    ::CloseHandle(wo.hEvent);
  }

  void failed(DWORD e) {
    if (gone.empty()) gone = systemErrorText(e);
    // Wakes the loop, whose read then reports it.
    ::SetEvent(ro.hEvent);
  }

  void postRead() {
    readPending = true;
    if (!::ReadFile(h, rbuf.data(), DWORD(rbuf.size()), nullptr, &ro) && ::GetLastError() != ERROR_IO_PENDING) {
      readPending = false;
      failed(::GetLastError());
    }
  }

  // Waits for the read in flight to end (cancelled) and drops what it brought.
  void cancelRead() {
    if (!readPending) return;
    ::CancelIoEx(h, &ro);
    DWORD n = 0;
    ::GetOverlappedResult(h, &ro, &n, TRUE);
    readPending = false;
  }
};

struct SerialDevice::Saved {
  DCB dcb{};
  COMMTIMEOUTS timeouts{};
};

SerialDevice::SerialDevice() = default;
SerialDevice::~SerialDevice() { close(); }

bool SerialDevice::isOpen() const { return io_ != nullptr; }

Waitable SerialDevice::waitable() const {
  if (!io_) return {};
  return {io_->ro.hEvent, io_->wo.hEvent};
}

SerialDevice::OpenResult SerialDevice::open(const std::string& path, const LineSettings& line, int handshaking,
                                            std::string& why) {
  close();
  auto io = std::make_unique<Io>();
  io->lock = ::CreateMutexW(nullptr, FALSE, lockName(path).c_str());
  if (io->lock && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    why = path + ": in use by another program";
    return OpenResult::Refused;
  }
  // "COM12" opens only as \\.\COM12 (the short form stops at COM9).
  const std::string device = path.rfind("\\\\", 0) == 0 ? path : "\\\\.\\" + path;
  io->h = ::CreateFileW(wideText(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
  if (io->h == INVALID_HANDLE_VALUE) {
    const DWORD e = ::GetLastError();
    why = path + ": " + systemErrorText(e);
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_BAD_PATHNAME) return OpenResult::NoDevice;
    if (e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION) {
      why = path + ": in use by another program (" + systemErrorText(e) + ")";
      return OpenResult::Refused;
    }
    return OpenResult::Failed;
  }
  auto saved = std::make_unique<Saved>();
  saved->dcb.DCBlength = sizeof saved->dcb;
  if (!::GetCommState(io->h, &saved->dcb) || !::GetCommTimeouts(io->h, &saved->timeouts)) {
    why = path + ": not a serial device: " + systemErrorText(::GetLastError());
    return OpenResult::Failed;
  }
  ::SetupComm(io->h, kQueueBytes, kQueueBytes);
  // Wait for the first byte without bound, then return once the line is silent for 1 ms;
  // writes without a time-out.
  COMMTIMEOUTS t{1, 0, 0, 0, 0};
  if (!::SetCommTimeouts(io->h, &t)) {
    why = path + ": " + systemErrorText(::GetLastError());
    return OpenResult::Failed;
  }
  io_ = std::move(io);
  saved_ = std::move(saved);
  if (!apply(line, handshaking, why)) {
    why = path + ": " + why;
    close();
    return OpenResult::Failed;
  }
  io_->postRead();
  return OpenResult::Opened;
}

void SerialDevice::close() {
  if (!io_) return;
  // The read in flight is cancelled when io_ goes.
  if (saved_) {
    ::SetCommState(io_->h, &saved_->dcb);
    ::SetCommTimeouts(io_->h, &saved_->timeouts);
  }
  io_.reset();
  saved_.reset();
}

bool SerialDevice::apply(const LineSettings& s, int handshaking, std::string& why) {
  if (!io_) return false;
  DCB d{};
  d.DCBlength = sizeof d;
  if (!::GetCommState(io_->h, &d)) {
    why = systemErrorText(::GetLastError());
    return false;
  }
  d.BaudRate = DWORD(s.baud);
  d.ByteSize = BYTE(s.dataBits);
  d.Parity = parityOf(s.parity);
  d.StopBits = s.stopBitsTimes2 == 4 ? TWOSTOPBITS : ONESTOPBIT;
  d.fBinary = TRUE;
  d.fParity = s.parity != 'N';
  d.fErrorChar = FALSE;
  d.fNull = FALSE;
  d.fAbortOnError = FALSE;
  d.fOutxDsrFlow = FALSE;
  d.fDsrSensitivity = FALSE;
  d.fOutxCtsFlow = handshaking >= 2;
  // The lines keep what the port last set: a DCB sets them too.
  d.fRtsControl = handshaking >= 2 ? RTS_CONTROL_HANDSHAKE : io_->rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
  d.fDtrControl = io_->dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  d.fOutX = d.fInX = handshaking == 1 || handshaking == 3;
  d.fTXContinueOnXoff = TRUE;
  d.XonChar = 0x11;
  d.XoffChar = 0x13;
  d.XonLim = WORD(kQueueBytes / 4);
  d.XoffLim = WORD(kQueueBytes / 4);
  if (::SetCommState(io_->h, &d)) return true;
  DWORD e = ::GetLastError();
  // A device without modem lines (Wine on a pseudo-terminal) refuses to raise them: the rest
  // of the line is what counts, as on Linux.
  if (e == ERROR_NOT_SUPPORTED && (d.fDtrControl == DTR_CONTROL_ENABLE || d.fRtsControl == RTS_CONTROL_ENABLE)) {
    d.fDtrControl = DTR_CONTROL_DISABLE;
    if (d.fRtsControl == RTS_CONTROL_ENABLE) d.fRtsControl = RTS_CONTROL_DISABLE;
    if (::SetCommState(io_->h, &d)) return true;
    e = ::GetLastError();
  }
  why = systemErrorText(e);
  return false;
}

std::optional<std::size_t> SerialDevice::read(std::uint8_t* buf, std::size_t size, std::string& why) {
  if (!io_) return 0;
  Io& io = *io_;
  if (!io.held.empty()) {
    const std::size_t n = std::min(size, io.held.size());
    std::memcpy(buf, io.held.data(), n);
    io.held.erase(io.held.begin(), io.held.begin() + std::ptrdiff_t(n));
    return n;
  }
  if (!io.gone.empty()) {
    why = io.gone;
    return std::nullopt;
  }
  if (!io.readPending) io.postRead();
  DWORD n = 0;
  if (!::GetOverlappedResult(io.h, &io.ro, &n, FALSE)) {
    const DWORD e = ::GetLastError();
    if (e == ERROR_IO_INCOMPLETE) return 0;
    io.readPending = false;
    // Cut short (a purge, or the driver resetting): the next read says whether it is gone.
    if (e == ERROR_OPERATION_ABORTED) {
      io.postRead();
      return 0;
    }
    io.failed(e);
    why = io.gone;
    return std::nullopt;
  }
  io.readPending = false;
  const std::size_t taken = std::min<std::size_t>(n, size);
  std::memcpy(buf, io.rbuf.data(), taken);
  io.held.assign(io.rbuf.begin() + std::ptrdiff_t(taken), io.rbuf.begin() + std::ptrdiff_t(n));
  // The next read in flight at once: its event tells the loop of the next bytes.
  io.postRead();
  return taken;
}

std::optional<std::size_t> SerialDevice::write(const std::uint8_t* data, std::size_t size, std::string& why) {
  if (!io_) return 0;
  Io& io = *io_;
  if (!io.gone.empty()) {
    why = io.gone;
    return std::nullopt;
  }
  if (io.writePending) {
    DWORD n = 0;
    if (!::GetOverlappedResult(io.h, &io.wo, &n, FALSE)) {
      const DWORD e = ::GetLastError();
      if (e == ERROR_IO_INCOMPLETE) return 0;  // the driver still has the last write
      io.writePending = false;
      io.failed(e);
      why = io.gone;
      return std::nullopt;
    }
    io.writePending = false;
  }
  if (size == 0) return 0;
  const std::size_t len = std::min(size, kWriteMax);
  io.wbuf.assign(data, data + len);
  if (!::WriteFile(io.h, io.wbuf.data(), DWORD(len), nullptr, &io.wo) && ::GetLastError() != ERROR_IO_PENDING) {
    io.failed(::GetLastError());
    why = io.gone;
    return std::nullopt;
  }
  io.writePending = true;
  return len;
}

void SerialDevice::drain() {
  if (!io_) return;
  DWORD n = 0;
  if (io_->writePending) ::GetOverlappedResult(io_->h, &io_->wo, &n, TRUE);
  io_->writePending = false;
  // Waits until the driver's queue has left the line.
  ::FlushFileBuffers(io_->h);
}

bool SerialDevice::waitWritable(int ms) const {
  if (!io_) return false;
  return !io_->writePending || ::WaitForSingleObject(io_->wo.hEvent, DWORD(ms)) == WAIT_OBJECT_0;
}

void SerialDevice::discardInput() {
  if (!io_) return;
  ::PurgeComm(io_->h, PURGE_RXCLEAR);
  // What the read in flight brought before the purge goes too.
  io_->cancelRead();
  io_->held.clear();
  ::PurgeComm(io_->h, PURGE_RXCLEAR);
  if (io_->gone.empty()) io_->postRead();
}

void SerialDevice::discardOutput() {
  if (!io_) return;
  ::PurgeComm(io_->h, PURGE_TXABORT | PURGE_TXCLEAR);
  if (io_->writePending) {
    ::CancelIoEx(io_->h, &io_->wo);
    DWORD n = 0;
    ::GetOverlappedResult(io_->h, &io_->wo, &n, TRUE);
    io_->writePending = false;
  }
  ::SetEvent(io_->wo.hEvent);
}

// Windows reports a vanished device through the calls themselves.
bool SerialDevice::hungUp() const { return false; }

std::optional<SerialDevice::ModemLines> SerialDevice::modemLines() const {
  DWORD st = 0;
  if (!io_ || !::GetCommModemStatus(io_->h, &st)) return std::nullopt;
  return ModemLines{(st & MS_CTS_ON) != 0, (st & MS_DSR_ON) != 0};
}

bool SerialDevice::setRts(bool on) {
  if (!io_) return false;
  io_->rts = on;
  return ::EscapeCommFunction(io_->h, on ? SETRTS : CLRRTS) != 0;
}

bool SerialDevice::setDtr(bool on) {
  if (!io_) return false;
  io_->dtr = on;
  return ::EscapeCommFunction(io_->h, on ? SETDTR : CLRDTR) != 0;
}

}  // namespace vq::native
