// The serial trace (--trace FILE): every byte the program sent and received, every change of
// line settings, handshaking, open state, RTS/DTR and CTS/DSR as the program saw it, each with
// a monotonic time in microseconds and the wizard step and stage it happened in. One line per
// event, written through at once so a crash keeps everything before it:
//
//   TIME_US STEP [STAGE] EVENT
//     215310 5 [Now writing new firmware 12 Block] → 01 10 ... (hex, bytes sent)
//     215872 5 [Now writing new firmware 12 Block] ← 06 (bytes received)
//
// STAGE is the progress line shown when it happened. The port and the progress seam are
// decorated: TracingSerialPort stands in for mscComm, TracingProgress for the installed Progress.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "base/progress.h"
#include "platform/platform.h"

namespace vq {

class TraceFile {
 public:
  TraceFile();
  ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  // Creates (or empties) the file and writes its header naming the program; false with the
  // reason when it cannot.
  bool open(const std::string& path, const std::string& program, std::string& error);
  // Into a stream the caller owns (tests).
  void openStream(std::FILE* stream, const std::string& program);
  bool isOpen() const { return out_ != nullptr; }

  // One event line, stamped with the time, gStep + 1 and the stage.
  void event(const std::string& text);
  void bytes(const char* arrow, const Bytes& b);
  void setStage(const std::string& text);

  // Microseconds since the trace opened; steady clock unless replaced (tests).
  std::function<std::int64_t()> nowUs;

 private:
  std::FILE* out_ = nullptr;
  bool owned_ = false;
  std::string stage_;
  int stageStep_ = -1;  // the step the stage was set in: a new step starts without one
};

class TracingSerialPort : public SerialPort {
 public:
  TracingSerialPort(SerialPort& inner, TraceFile& trace);
  ~TracingSerialPort() override;

  void setCommPort(int n) override;
  int commPort() const override { return inner_.commPort(); }
  void setSettings(const std::string& text) override;
  std::string settings() const override { return inner_.settings(); }
  void setHandshaking(int mode) override;
  int handshaking() const override { return inner_.handshaking(); }
  void setPortOpen(bool open) override;
  bool portOpen() const override { return inner_.portOpen(); }
  void setRThreshold(int n) override { inner_.setRThreshold(n); }
  int rThreshold() const override { return inner_.rThreshold(); }
  void setSThreshold(int n) override { inner_.setSThreshold(n); }
  int sThreshold() const override { return inner_.sThreshold(); }
  Bytes input() override;
  void output(const Bytes& bytes) override;
  void discardInput() override;
  void discardOutput() override;
  void setRTSEnable(bool on) override;
  void setDTREnable(bool on) override;
  bool ctsHolding() const override;
  bool dsrHolding() const override;

 private:
  // Runs a call of the inner port; a failure it throws is traced and thrown on.
  template <typename F>
  void traced(const std::string& what, F&& call);
  // The inner port's reason for a failed open or a vanished device, taken over when it sets one.
  void takeProblem();
  void lineChanged(const char* name, std::optional<bool>& last, bool now) const;

  SerialPort& inner_;
  TraceFile& trace_;
  // The lines as last traced: only changes are written.
  mutable std::optional<bool> rts_, dtr_, cts_, dsr_;
};

class TracingProgress : public Progress {
 public:
  TracingProgress(Progress& inner, TraceFile& trace) : inner_(inner), trace_(trace) {}
  void linkState(const std::string& text) override { inner_.linkState(text); }
  void line(const std::string& text, ProgressLine how) override;
  void range(int max) override { inner_.range(max); }
  void value(int v) override { inner_.value(v); }
  void busy(bool on) override { inner_.busy(on); }
  void showNow() override { inner_.showNow(); }

 private:
  Progress& inner_;
  TraceFile& trace_;
};

// "FF 00 7F" for a trace line.
std::string fncHexBytes(const Bytes& b);

}  // namespace vq
