// One run of vq-update-cli: the program started as the window starts, the options applied as
// the port and forced-update dialogs would apply them, then steps 2 to 7 through the wizard's
// own sequencer, with the operator's part (the FW switch at steps 4 and 6) asked for on the
// terminal. The exit status is the wizard's code of the failure, 0 on success.
#pragma once
#include <QElapsedTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/interrupt_watch.h"
#include "cli/terminal_progress.h"
#include "platform/qt/com_port_map.h"
#include "platform/qt/console_platform.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_timer.h"
#include "platform/qt/update_log.h"
#include "platform/trace/serial_trace.h"

namespace vq::cli {

constexpr int kExitStopped = 130;  // as a shell reports a program ended by Ctrl+C
// A second Ctrl+C within this stops step 5.
constexpr std::int64_t kConfirmStopMs = 3000;

class Run {
 public:
  explicit Run(Options options);
  ~Run();
  int exec();

 private:
  bool setUp(std::string& refused);
  int runStep(int stepNo);
  bool waitForEnter();
  void interrupted();
  [[noreturn]] void stop();
  int finish(int result, int failedStep);
  void printJson(int result, int failedStep);
  void tellOperator(const std::string& text);

  Options opt_;
  std::FILE* out_;  // progress: stdout, or stderr under --json
  qt::ComPortMap map_;
  qt::QtSerialPort port_{map_};
  qt::QtTimer timer_;
  qt::ConsolePlatform platform_{map_};
  TraceFile trace_;
  std::unique_ptr<TracingSerialPort> tracedPort_;
  std::unique_ptr<TracingProgress> tracedProgress_;
  std::unique_ptr<TerminalProgress> terminal_;
  qt::UpdateLog log_;
  InterruptWatch interrupts_;
  std::vector<std::string> messages_;
  QElapsedTimer stopArmed_;  // valid while a first Ctrl+C in step 5 waits for its second
  int stepRunning_ = 0;
};

}  // namespace vq::cli
