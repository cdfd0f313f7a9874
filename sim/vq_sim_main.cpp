// vq-sim: the simulated VQ instrument and its controller on a pseudo-terminal, in real time.
//
// Usage (see --help for every option):
//   vq-sim --link /tmp/vq-port --control /tmp/vq.sock --report /tmp/vq-report.txt
//          --expect-file new.bin --switch manual
// Prints the slave path (e.g. /dev/pts/7) as its first line on stdout, then serves until
// "quit", SIGINT or SIGTERM. Point the program at the slave (or the --link path).
//
// Control lines (stdin, and each connection to the --control unix socket); each gets one line
// back, "ok ..." or "error ...":
//   switch W | switch -      set the front-panel FW switch (takes effect at the next power-on)
//   power [on|off]           restart (off, then on), or just switch on / off
//   fault FAULT | fault +FAULT | fault dsr-stuck | fault silent | fault clear
//                            (+FAULT: its occurrences #N counted from now)
//   unplug                   the cable pulled: the pty and the --link path go away
//   replug                   plugged back in: a fresh pty at the same --link path
//   status                   one line: mode, switch, PC mode, boot rate, violations
//   dump                     write the report now (needs --report)
//   quit                     write the report and exit
// A test's typical round: start vq-sim, run step 2 against it, send "switch W" and "power",
// run step 5, send "switch -" and "power", run step 7, send "quit", then grep the report for
// flash_matches_update_file=yes, model=..., serial=..., cmd04=..., violations=0.
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "pty_server.h"
#include "sim_options.h"
#include "update_file.h"
#include "vq_device.h"

namespace {

const char* kHelp = R"(vq-sim - simulated VQ instrument on a pseudo-terminal

Options:
  --link PATH            make PATH a symlink to the pty slave
  --control PATH         unix socket for control lines (switch W|-, power [on|off],
                         fault FAULT, unplug, replug, status, dump, quit)
  --no-stdin             do not read control lines from stdin
  --report PATH          write the report here on dump and at exit
  --expect-file FILE     report whether the flash equals FILE's body padded with 0xFF
  --switch auto|manual   auto: boot settings (9600,N,8,1) + 0x00 bytes mean "W" and a
                         restart, link settings + 0xFF mean "-" and a restart (make run);
                         manual (default): only control lines move the switch
  --position -|W         initial FW switch position (default -)
  --off                  start switched off
  --model TEXT           model name, 8 characters (padded with blanks)
  --serial TEXT          serial number, 6 characters (e.g. " 12345")
  --cmd04 N[,N]          value bytes of command 4 (default 5,0)
  --cmd06 N[,N]          value bytes of command 6 (default 1,0)
  --version A.B.C        firmware version of the factory image (main = A*10+B, rev = C)
  --flash FILE           initial flash: an update file's body, or a raw image
  --flash-erased         initial flash all 0xFF
  --link-settings TEXT   instrument line settings (default 307200,O,8,1)
  --mode-reply 1|7       data bytes of the reply to command 127 (default 7)
  --init-ms N            command 124's reset time (default 2000)
  --erase-ms N           erase time (default 1000)
  --program-ms N         programming time per block (default 2)
  --completion-ms N      gap before the write completion status (default 20)
  --security-ms N,M      first and second security status delays (default 30,50)
  --dsr-ms N             DSR pulse after power-on (default 20)
  --fault FAULT           add a fault (repeatable): KIND[#N[+COUNT]]:ACTION[=ARGS]
                         kinds: inst iN boot reset clock baud erase wcmd wdata wdone
                                scmd sdata sdone vcmd vdata
                         actions: drop corrupt status=XX[,YY] delay=MS pieces=K/MS
                                  trail=K join dead
  --dsr-stuck            DSR stays on after power-on
  --silent               the instrument never answers
  --pace                 each byte takes its line time at the current rate
  --realtime             run at a real-time priority (SCHED_FIFO) when allowed (root),
                         so replies leave on time on a busy machine
  --help                 this text

Report lines (key=value): power mode switch link_settings boot_baud pc_mode model
serial cmd04 cmd06 fw_main fw_rev security flash_sha256 [expected_sha256
flash_matches_update_file=yes|no] frames_in frames_out violations=N, then
"violation TIME_US TEXT" lines, then "frame TIME_US in|out SETTINGS [HEX] NOTE" lines.
On a pty also: pty_bytes_in/out (bytes read from and written to the line) and
pty_in_sha256/pty_out_sha256 (their SHA-256, in order), and late_replies (replies whose
first byte left more than 2 ms after it was due: the simulator's own lateness, not the
program's) with worst_late_us (the latest of any reply).
)";

bool readFile(const std::string& path, vq::Bytes& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

int usage(const std::string& msg) {
  std::fprintf(stderr, "vq-sim: %s (see --help)\n", msg.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vq::sim;
  SimOptions o;
  if (auto bad = parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), o, readFile)) return usage(*bad);
  if (o.help) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  DeviceConfig& cfg = o.cfg;
  const Identity& id = o.id;
  const FaultPlan& faults = o.faults;
  const PtyServerOptions& opt = o.opt;
  const FwSwitch position = o.position;
  const bool startOff = o.startOff, erased = o.erased;
  const std::string& flashFile = o.flashFile;

  cfg.poweredAtAttach = !startOff;
  VqDevice dev(cfg);
  dev.identity = id;
  dev.faults = faults;
  dev.setSwitch(position);
  if (erased) dev.flash.assign(kFlashSize, 0xFF);
  if (!flashFile.empty()) {
    vq::Bytes b;
    if (!readFile(flashFile, b)) return usage("cannot read " + flashFile);
    const std::string magic = kUpdateMagic;
    if (b.size() >= kHeaderSize && std::string(b.begin(), b.begin() + kHeaderSize).find(magic) != std::string::npos) {
      dev.flash = flashImageOf(b);
    } else {
      dev.flash.assign(kFlashSize, 0xFF);
      std::copy_n(b.begin(), std::min(b.size(), kFlashSize), dev.flash.begin());
    }
  }

  // A real-time priority keeps the replies on the instrument's time when the machine is busy;
  // without the right to it (not root) the simulator runs as before.
  if (o.realtime) {
    sched_param sp{};
    sp.sched_priority = std::max(1, sched_get_priority_min(SCHED_FIFO) + 10);
    if (sched_setscheduler(0, SCHED_FIFO, &sp) != 0)
      std::fprintf(stderr, "vq-sim: no real-time priority (%s), going on without it\n", std::strerror(errno));
  }

  PtyServer server(dev, opt);
  std::string err;
  if (!server.start(err)) {
    std::fprintf(stderr, "vq-sim: %s\n", err.c_str());
    return 1;
  }
  std::printf("%s\n", server.slavePath().c_str());
  std::fflush(stdout);
  return server.run();
}
