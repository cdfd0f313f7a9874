#include "platform/trace/serial_trace.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <exception>

#include "base/state.h"

namespace vq {

namespace {

const char* eventName(CommEvent ev) {
  switch (ev) {
    case CommEvent::Send: return "send";
    case CommEvent::Receive: return "receive";
    case CommEvent::CtsChange: return "cts-change";
    case CommEvent::PortFailed: return "port-failed";
  }
  return "?";
}

std::string utcNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  gmtime_s(&tm, &t);
#else
  gmtime_r(&t, &tm);
#endif
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buf;
}

// The last line of a progress text (a step-7 text holds two).
std::string lastLine(const std::string& text) {
  const std::size_t nl = text.rfind('\n');
  std::string s = nl == std::string::npos ? text : text.substr(nl + 1);
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

std::string fncHexBytes(const Bytes& b) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(b.size() * 3);
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (i) s += ' ';
    s += kHex[b[i] >> 4];
    s += kHex[b[i] & 0x0F];
  }
  return s;
}

// ---- the file ----

TraceFile::TraceFile() {
  const auto start = std::chrono::steady_clock::now();
  nowUs = [start] {
    return std::int64_t(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
  };
}

TraceFile::~TraceFile() {
  if (out_ && owned_) std::fclose(out_);
}

bool TraceFile::open(const std::string& path, const std::string& program, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  openStream(f, program);
  owned_ = true;
  return true;
}

void TraceFile::openStream(std::FILE* stream, const std::string& program) {
  out_ = stream;
  owned_ = false;
  // Line-buffered in effect: every event is flushed as it is written.
  std::fprintf(out_, "# serial trace of %s, started %s\n", program.c_str(), utcNow().c_str());
  std::fprintf(out_, "# TIME_US STEP [STAGE] EVENT; \xE2\x86\x92 bytes sent, \xE2\x86\x90 bytes received (hex); "
                     "time in microseconds, monotonic, from the start of the trace\n");
  std::fflush(out_);
}

void TraceFile::setStage(const std::string& text) {
  stage_ = lastLine(text);
  stageStep_ = gStep;
}

void TraceFile::event(const std::string& text) {
  if (!out_) return;
  if (stageStep_ != gStep) stage_.clear();
  std::fprintf(out_, "%10lld %d [%s] %s\n", static_cast<long long>(nowUs()), int(gStep) + 1, stage_.c_str(), text.c_str());
  std::fflush(out_);
}

void TraceFile::bytes(const char* arrow, const Bytes& b) {
  if (!b.empty()) event(std::string(arrow) + " " + fncHexBytes(b));
}

// ---- the port ----

TracingSerialPort::TracingSerialPort(SerialPort& inner, TraceFile& trace) : inner_(inner), trace_(trace) {
  inner_.onComm = [this](CommEvent ev) {
    // Receive and send events come with every byte; the bytes themselves are traced.
    if (ev == CommEvent::CtsChange || ev == CommEvent::PortFailed) trace_.event(std::string("event ") + eventName(ev));
    if (ev == CommEvent::PortFailed) takeProblem();
    if (onComm) onComm(ev);
  };
}

TracingSerialPort::~TracingSerialPort() { inner_.onComm = nullptr; }

template <typename F>
void TracingSerialPort::traced(const std::string& what, F&& call) {
  try {
    call();
  } catch (const SerialError& e) {
    trace_.event(what + " refused (" + std::to_string(e.number) + "): " + e.what());
    throw;
  } catch (const std::exception& e) {
    trace_.event(what + " failed: " + e.what());
    throw;
  }
  trace_.event(what);
}

void TracingSerialPort::takeProblem() { problem = inner_.problem; }

void TracingSerialPort::setCommPort(int n) { traced("port COM" + std::to_string(n), [&] { inner_.setCommPort(n); }); }

void TracingSerialPort::setSettings(const std::string& text) {
  traced("settings " + text, [&] { inner_.setSettings(text); });
}

void TracingSerialPort::setHandshaking(int mode) {
  traced("handshaking " + std::to_string(mode), [&] { inner_.setHandshaking(mode); });
}

void TracingSerialPort::setPortOpen(bool open) {
  try {
    traced(open ? "open " + inner_.settings() + " handshaking " + std::to_string(inner_.handshaking()) : "close",
           [&] { inner_.setPortOpen(open); });
  } catch (...) {
    if (open) takeProblem();
    throw;
  }
  if (open) {
    takeProblem();  // cleared by a good open
    // The input lines as the port reports them once open.
    lineChanged("CTS", cts_, inner_.ctsHolding());
    lineChanged("DSR", dsr_, inner_.dsrHolding());
  }
}

Bytes TracingSerialPort::input() {
  Bytes b = inner_.input();
  trace_.bytes("\xE2\x86\x90", b);
  return b;
}

void TracingSerialPort::output(const Bytes& bytes) {
  // Traced before the write: a write that throws still shows what the program tried to send.
  trace_.bytes("\xE2\x86\x92", bytes);
  try {
    inner_.output(bytes);
  } catch (const std::exception& e) {
    trace_.event(std::string("write failed: ") + e.what());
    takeProblem();
    throw;
  }
}

void TracingSerialPort::discardInput() {
  inner_.discardInput();
  trace_.event("discard input");
}

void TracingSerialPort::discardOutput() {
  inner_.discardOutput();
  trace_.event("discard output");
}

void TracingSerialPort::lineChanged(const char* name, std::optional<bool>& last, bool now) const {
  if (last == now) return;
  last = now;
  trace_.event(std::string(name) + (now ? " on" : " off"));
}

void TracingSerialPort::setRTSEnable(bool on) {
  inner_.setRTSEnable(on);
  lineChanged("RTS", rts_, on);
}

void TracingSerialPort::setDTREnable(bool on) {
  inner_.setDTREnable(on);
  lineChanged("DTR", dtr_, on);
}

bool TracingSerialPort::ctsHolding() const {
  const bool v = inner_.ctsHolding();
  lineChanged("CTS", cts_, v);
  return v;
}

bool TracingSerialPort::dsrHolding() const {
  const bool v = inner_.dsrHolding();
  lineChanged("DSR", dsr_, v);
  return v;
}

// ---- the progress seam ----

void TracingProgress::line(const std::string& text, ProgressLine how) {
  trace_.setStage(text);
  inner_.line(text, how);
}

}  // namespace vq
