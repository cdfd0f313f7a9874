// vq-update.exe: the VQ system firmware update tool, its Win32 window. The command line and
// the program's life around the window are front::WindowSession's (front/window_program.h).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "front/installed_program.h"
#include "front/window_program.h"
#include "platform/native/comm_timer.h"
#include "platform/native/serial_port.h"
#include "platform/native/windows_text.h"
#include "win32ui/autopilot.h"
#include "win32ui/program_windows.h"

namespace {

constexpr const char* kProgram = "vq-update " VQ_VERSION;

// A window program has no console of its own: --version, --check-port, the refusals and the
// autopilot's report go to the console it was started from, when there is one (under Wine,
// the terminal's).
void useParentConsole() {
  if (::GetStdHandle(STD_OUTPUT_HANDLE) != nullptr && ::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN)
    return;
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  (void)std::freopen("CONOUT$", "w", stdout);
  (void)std::freopen("CONOUT$", "w", stderr);
}

int refused(const std::string& why) {
  std::fprintf(stderr, "%s\n%s", why.c_str(), vq::front::kWindowUsage);
  return 2;
}

std::vector<std::string> arguments() {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(vq::native::utf8Text(argv[i]));
  ::LocalFree(argv);
  return args;
}

int run() {
  useParentConsole();
  vq::front::WindowOptions options;
  if (const auto why = vq::front::parseWindowOptions(arguments(), options)) return refused(*why);
  if (options.version) {
    std::printf("%s\n", kProgram);
    return 0;
  }
  if (options.checkPort) return vq::front::runCheckPort(options);

  vq::TraceFile trace;
  if (std::string why; !vq::front::openTrace(trace, options, kProgram, why)) {
    std::fprintf(stderr, "vq-update: cannot write the trace: %s\n", why.c_str());
    return 2;
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);

  // The parts of vq::ui::Program, over the Win32 loop.
  using namespace vq;
  win32ui::WindowLoop loop;
  native::NativeSerialPort port{options.map, loop.events()};
  native::CommTimer timer{loop.events()};
  win32ui::WindowPlatform platform{options.map, loop};
  win32ui::ProgramWindows windows{loop, platform};
  front::InstalledProgram installed{platform, port, timer, windows, &trace};

  int rc = 0;
  {
    front::WindowSession session(options.map, kProgram);
    std::unique_ptr<win32ui::Autopilot> autopilot;
    if (!options.autopilotDir.empty())
      autopilot = std::make_unique<win32ui::Autopilot>(loop, platform, windows, options.autopilotDir,
                                                       options.autopilotFile);
    windows.start();
    if (autopilot) autopilot->start();
    loop.post([&] { session.windowShown(autopilot != nullptr); });
    while (!loop.quitting()) loop.pump(true);
    rc = loop.exitCode();
    session.windowClosed();
    if (autopilot && rc == 0) rc = autopilot->exitCode();
  }
  return rc;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return run(); }
