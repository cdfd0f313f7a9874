// One run of vq-update-cli: the program started as the window starts, the options applied as
// the port and forced-update dialogs would apply them, then steps 2 to 7 through the wizard's
// own sequencer, with the operator's part (the FW switch at steps 4 and 6) asked for on the
// terminal. The exit status is the wizard's code of the failure, 0 on success.
#pragma once
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/interrupt_watch.h"
#include "cli/terminal_progress.h"
#include "platform/native/com_port_map.h"
#include "platform/native/comm_timer.h"
#include "platform/native/console_platform.h"
#include "platform/native/journal_files.h"
#include "platform/native/poll_loop.h"
#include "platform/native/serial_port.h"
#include "platform/native/update_log.h"
#include "platform/trace/serial_trace.h"

namespace vq::cli {

constexpr int kExitStopped = 130;  // as a shell reports a program ended by Ctrl+C
// A second Ctrl+C within this stops step 5.
constexpr std::int64_t kConfirmStopMs = 3000;

// --list-unfinished: one line per instrument left half-updated (the journals that cannot be
// trusted on stderr); exit 0.
int listUnfinished();
// --forget MODEL SERIAL: the saved entry deleted (exit 0), or none such (exit 2).
int forgetUnfinished(const std::string& model, const std::string& serial);

class Run {
 public:
  explicit Run(Options options);
  ~Run();
  int exec();

 private:
  bool setUp(std::string& refused);
  int runStep(int stepNo);
  // After step 2 under --resume: its code as the run goes on (0 to go on), or refused.
  int afterStep2(int code, std::string& refused);
  bool waitForEnter();
  void interrupted();
  [[noreturn]] void stop();
  int finish(int result, int failedStep);
  void printJson(int result, int failedStep);
  void tellOperator(const std::string& text);

  Options opt_;
  std::FILE* out_;  // progress: stdout, or stderr under --json
  native::ComPortMap map_;
  native::PollLoop loop_;
  native::NativeSerialPort port_{map_, loop_};
  native::CommTimer timer_{loop_};
  native::ConsolePlatform platform_{map_, loop_};
  TraceFile trace_;
  std::unique_ptr<TracingSerialPort> tracedPort_;
  std::unique_ptr<TracingProgress> tracedProgress_;
  std::unique_ptr<TerminalProgress> terminal_;
  native::UpdateLog log_;
  native::JournalFiles journal_{map_};
  InterruptWatch interrupts_{loop_};
  std::vector<std::string> messages_;
  // When a first Ctrl+C in step 5 or 7 asked for a second one; empty when none waits.
  std::optional<std::chrono::steady_clock::time_point> stopArmed_;
  int stepRunning_ = 0;
  // --resume: the saved update this run continues, once step 2 has said whose instrument it is.
  std::optional<JournalEntry> resume_;
};

}  // namespace vq::cli
