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
//   fault FAULT | fault dsr-stuck | fault silent | fault clear
//   unplug                   the cable pulled: the pty and the --link path go away
//   replug                   plugged back in: a fresh pty at the same --link path
//   status                   one line: mode, switch, PC mode, boot rate, violations
//   dump                     write the report now (needs --report)
//   quit                     write the report and exit
// A test's typical round: start vq-sim, run step 2 against it, send "switch W" and "power",
// run step 5, send "switch -" and "power", run step 7, send "quit", then grep the report for
// flash_matches_update_file=yes, model=..., serial=..., cmd04=..., violations=0.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "base/arg_reader.h"
#include "pty_server.h"
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
  --help                 this text

Report lines (key=value): power mode switch link_settings boot_baud pc_mode model
serial cmd04 cmd06 fw_main fw_rev security flash_sha256 [expected_sha256
flash_matches_update_file=yes|no] frames_in frames_out violations=N, then
"violation TIME_US TEXT" lines, then "frame TIME_US in|out SETTINGS [HEX] NOTE" lines.
On a pty also: pty_bytes_in/out (bytes read from and written to the line) and
pty_in_sha256/pty_out_sha256 (their SHA-256, in order).
)";

bool readFile(const std::string& path, vq::Bytes& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

bool parseMs(const std::string& s, std::int64_t& us) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end || v < 0) return false;
  us = std::int64_t(v) * 1000;
  return true;
}

bool parsePair(const std::string& s, std::array<std::uint8_t, 2>& out) {
  auto comma = s.find(',');
  // strtol's end pointer points into the text it read: keep each part alive while it is checked.
  const std::string first = s.substr(0, comma);
  char* end = nullptr;
  long a = std::strtol(first.c_str(), &end, 0);
  if (*end || a < 0 || a > 255) return false;
  long b = 0;
  if (comma != std::string::npos) {
    const std::string second = s.substr(comma + 1);
    b = std::strtol(second.c_str(), &end, 0);
    if (*end || b < 0 || b > 255) return false;
  }
  out = {std::uint8_t(a), std::uint8_t(b)};
  return true;
}

int usage(const std::string& msg) {
  std::fprintf(stderr, "vq-sim: %s (see --help)\n", msg.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vq::sim;
  DeviceConfig cfg;
  Identity id;
  FaultPlan faults;
  PtyServerOptions opt;
  FwSwitch position = FwSwitch::Normal;
  bool startOff = false, erased = false;
  std::string flashFile;

  vq::ArgReader args(argc, argv);
  while (!args.done()) {
    const std::string a = args.name();
    std::string v;
    if (args.flag("--help") || args.flag("-h")) {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (args.flag("--pace")) {
      opt.pace = true;
    } else if (args.flag("--no-stdin")) {
      opt.readStdin = false;
    } else if (args.flag("--off")) {
      startOff = true;
    } else if (args.flag("--flash-erased")) {
      erased = true;
    } else if (args.flag("--dsr-stuck")) {
      faults.dsrStuckOn = true;
    } else if (args.flag("--silent")) {
      faults.instrumentSilent = true;
    } else if (args.value(a, v) != vq::ArgReader::Took::Yes) {
      return usage("unknown option or missing value: " + a);
    } else if (a == "--link") {
      opt.linkPath = v;
    } else if (a == "--control") {
      opt.controlPath = v;
    } else if (a == "--report") {
      opt.reportPath = v;
    } else if (a == "--expect-file") {
      vq::Bytes b;
      if (!readFile(v, b)) return usage("cannot read " + v);
      opt.expectFile = b;
    } else if (a == "--switch") {
      if (v != "auto" && v != "manual") return usage("--switch takes auto or manual");
      cfg.autoSwitch = v == "auto";
    } else if (a == "--position") {
      if (v != "-" && v != "W" && v != "w") return usage("--position takes - or W");
      position = v == "-" ? FwSwitch::Normal : FwSwitch::Write;
    } else if (a == "--model") {
      id.model = v;
      id.model.resize(8, ' ');
    } else if (a == "--serial") {
      id.serial = v;
      id.serial.resize(6, ' ');
    } else if (a == "--cmd04") {
      if (!parsePair(v, id.cmd04)) return usage("bad --cmd04");
    } else if (a == "--cmd06") {
      if (!parsePair(v, id.cmd06)) return usage("bad --cmd06");
    } else if (a == "--version") {
      auto o = parseVersionText(v);
      if (!o) return usage("bad --version, want A.B.C");
      cfg.fallbackVersion = versionOf(*o);
    } else if (a == "--flash") {
      flashFile = v;
    } else if (a == "--link-settings") {
      auto s = vq::parseLineSettings(v);
      if (!s) return usage("bad --link-settings");
      cfg.link = *s;
    } else if (a == "--mode-reply") {
      if (v != "1" && v != "7") return usage("--mode-reply takes 1 or 7");
      cfg.modeReplyLength = std::stoi(v);
    } else if (a == "--init-ms") {
      if (!parseMs(v, cfg.initDelayUs)) return usage("bad --init-ms");
    } else if (a == "--erase-ms") {
      if (!parseMs(v, cfg.eraseUs)) return usage("bad --erase-ms");
    } else if (a == "--program-ms") {
      if (!parseMs(v, cfg.programBlockUs)) return usage("bad --program-ms");
    } else if (a == "--completion-ms") {
      if (!parseMs(v, cfg.completionUs)) return usage("bad --completion-ms");
    } else if (a == "--security-ms") {
      auto comma = v.find(',');
      if (comma == std::string::npos || !parseMs(v.substr(0, comma), cfg.securityFirstUs) ||
          !parseMs(v.substr(comma + 1), cfg.securitySecondUs))
        return usage("bad --security-ms, want N,M");
    } else if (a == "--dsr-ms") {
      if (!parseMs(v, cfg.dsrOnUs)) return usage("bad --dsr-ms");
    } else if (a == "--fault") {
      auto f = parseFault(v);
      if (!f) return usage("bad --fault " + v);
      faults.add(*f);
    } else {
      return usage("unknown option " + a);
    }
  }

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
