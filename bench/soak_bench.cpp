// The soak: long use with faults, against vq-sim on a pseudo-terminal.
//   soak_bench cli [--updates N] [--seed S]
//     vq-update-cli run after run against one vq-sim, N updates (default 200). Each has a
//     fault drawn (seeded, so a run repeats) from the fault campaign's rows, or none; it must
//     end with the code its row gives. A failed update is followed by a retry with --resume
//     that must complete. At the end the flash must equal the image and the identity be the
//     one the instrument started with.
//   soak_bench window [--attempts N] [--seed S]
//     One window process (the real program, window offscreen, as vq-update runs it: this
//     process) through N failing step-5 attempts (default 100), the fault injected through
//     vq-sim's control lines, each followed by Next again that completes; its resident memory
//     (VmRSS) and open descriptors sampled every 10 attempts.
// Prints one line per finding and a summary; exit 0 only when every update held.
// Left out of the draw: rows on the line's modem lines (the wizard scopes them to one step,
// a whole run cannot), rows timed to a few milliseconds of a bound (they measure the machine's
// load in real time, not the program), and rows that wait a minute (erase, 124 and busy bounds).
#include <dirent.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/error_display.h"
#include "e2e/program_on_sim.h"
#include "e2e/sim_process.h"
#include "wizard/fault_campaign_rows.h"

using namespace vq;
using namespace vq::e2e;
using Clock = std::chrono::steady_clock;

namespace {

QString cliProgram() {
#ifdef VQ_UPDATE_CLI_PATH
  return QStringLiteral(VQ_UPDATE_CLI_PATH);
#else
  return QCoreApplication::applicationDirPath() + QStringLiteral("/vq-update-cli");
#endif
}

bool drawable(const test::Fault& f) {
  const std::string t = f.fault;
  auto has = [&](const char* s) { return t.find(s) != std::string::npos; };
  return !has("cts-off") && !has("dsr-on") && !has("delay=") && !has("erase:drop") && !has("i124:drop") &&
         !(has("status=51") && has("+0"));
}

// Requests of each kind in a fault-free step 2: a step-7 row's occurrences count after them.
int step2Count(const std::string& kind) {
  static const std::map<std::string, int> n{{"i127", 2}, {"i1", 1}, {"i2", 1}, {"i4", 1}, {"i5", 1}, {"i6", 1}};
  const auto it = n.find(kind);
  return it == n.end() ? 0 : it->second;
}

// The row's faults as control lines, counted from the start of the run (step 2).
QStringList controlLines(const test::Fault& f) {
  QStringList out;
  for (const QString& one : QString(f.fault).split(';')) {
    QString kind = one.section(':', 0, 0).section('#', 0, 0);
    QString plan = one;
    if (f.step == 7) {
      // "i4#1+0:..." in step 7 is the first i4 of step 7: after step 2's.
      const int skip = step2Count(kind.toStdString());
      const int hash = one.indexOf('#');
      const int colon = one.indexOf(':');
      int nth = 1;
      QString rest = one.mid(colon);
      if (hash >= 0 && hash < colon) {
        QString n = one.mid(hash + 1, colon - hash - 1);
        const int plus = n.indexOf('+');
        nth = n.left(plus < 0 ? n.size() : plus).toInt();
        if (plus >= 0) rest = n.mid(plus) + rest;
      }
      plan = kind + "#" + QString::number(nth + skip) + rest;
    }
    out << "fault +" + plan;
  }
  return out;
}

struct CliRun {
  int code = -1;
  QByteArray err;
};

CliRun runCli(const SimProcess& sim, const QString& file, bool resume) {
  QProcess cli;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_STATE_HOME", sim.dir() + "/state");
  cli.setProcessEnvironment(env);
  QStringList args{"--port", sim.linkPath(), "--file", file, "--json", "--writing-rate", "153600", "--switch-ready",
                   "--lang", "en"};
  if (resume) args << "--resume";
  cli.start(cliProgram(), args);
  CliRun r;
  if (!cli.waitForStarted(10000) || !cli.waitForFinished(300000)) {
    cli.kill();
    cli.waitForFinished(5000);
    r.err = "did not end";
    return r;
  }
  r.err = cli.readAllStandardError();
  r.code = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -2;
  return r;
}

QString tail(const QByteArray& text, int lines) {
  const QStringList all = QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts);
  return all.mid(std::max<qsizetype>(0, all.size() - lines)).join("\n    ");
}

SimReport dump(SimProcess& sim) {
  sim.control("dump");
  QFile f(sim.reportPath());
  if (!f.open(QIODevice::ReadOnly)) return {};
  return SimReport::parse(f.readAll());
}

QStringList simArgs(const QString& file) {
  QStringList a{"--expect-file", file, "--init-ms", "50", "--erase-ms", "50", "--program-ms", "1",
                "--completion-ms", "5", "--security-ms", "5,10"};
  return a;
}

int soakCli(int updates, unsigned seed) {
  SimProcess sim;
  const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0"});
  if (file.isEmpty() || !sim.start(QStringList{"--switch", "auto"} + simArgs(file))) {
    std::fprintf(stderr, "soak_bench: %s\n", qPrintable(sim.error()));
    return 1;
  }
  const SimReport start = dump(sim);
  std::vector<const test::Fault*> rows;
  for (const test::Fault& f : test::kCampaign)
    if (drawable(f)) rows.push_back(&f);
  std::mt19937 rng(seed);
  int faulted = 0, failedAsRow = 0, wrongCode = 0, retryFailed = 0, ridden = 0;
  std::map<int, int> byCode;
  const auto t0 = Clock::now();
  for (int i = 1; i <= updates; ++i) {
    // One update in four without a fault.
    const test::Fault* row = rng() % 4 == 0 ? nullptr : rows[rng() % rows.size()];
    sim.control("fault clear");
    if (row) {
      ++faulted;
      for (const QString& line : controlLines(*row)) {
        const QString answer = sim.control(line);
        if (!answer.startsWith("ok")) std::printf("update %d: %s -> %s\n", i, qPrintable(line), qPrintable(answer));
      }
    }
    const CliRun run = runCli(sim, file, false);
    sim.control("fault clear");
    const int want = row ? row->code : 0;
    ++byCode[run.code];
    // Bytes behind a reply fail the next exchange only when they come after its frame went
    // out; on a pseudo-terminal they mostly come before it and are dropped with the send.
    const bool trailRidden = row && std::string(row->fault).find("trail=") != std::string::npos && run.code == 0;
    if (trailRidden) ++ridden;
    if (run.code != want && !trailRidden) {
      ++wrongCode;
      std::printf("update %d: step %d \"%s\" ended with %d, not %d\n    %s\n", i, row ? row->step : 0,
                  row ? row->fault : "", run.code, want, qPrintable(tail(run.err, 6)));
    }
    if (run.code != 0 && run.code == want) ++failedAsRow;
    if (run.code != 0) {
      // An update cut short after its journal was saved (step 5 on) is resumed from it.
      const bool saved = !QDir(sim.dir() + "/state/vq-update/unfinished").entryList(QDir::Files).isEmpty();
      const CliRun again = runCli(sim, file, saved);
      if (again.code != 0) {
        ++retryFailed;
        std::printf("update %d: the retry after \"%s\" ended with %d\n    %s\n", i, row ? row->fault : "", again.code,
                    qPrintable(tail(again.err, 6)));
      }
    }
    if (i % 20 == 0) {
      std::printf("%d updates, %.0f s\n", i, std::chrono::duration<double>(Clock::now() - t0).count());
      std::fflush(stdout);
    }
  }
  const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
  const SimReport end = dump(sim);
  const bool flashed = end["flash_matches_update_file"] == "yes";
  const bool sameIdentity = end["model"] == start["model"] && end["serial"] == start["serial"] &&
                            end["cmd04"] == start["cmd04"];
  std::printf("soak cli: %d updates (seed %u) in %.1f s, %d with a fault, %d failed as their row says and were "
              "retried, %d rode out trailing bytes, %d ended with another code, %d retries did not complete\n",
              updates, seed, wall, faulted, failedAsRow, ridden, wrongCode, retryFailed);
  std::printf("  exit codes:");
  for (const auto& [code, n] : byCode) std::printf(" %d x%d", code, n);
  std::printf("\n  flash equals the image: %s; identity %s|%s cmd04 %s, as at start: %s; simulator late replies %s "
              "(worst %s us)\n",
              flashed ? "yes" : "no", qPrintable(end["model"]), qPrintable(end["serial"]), qPrintable(end["cmd04"]),
              sameIdentity ? "yes" : "no", qPrintable(end["late_replies"]), qPrintable(end["worst_late_us"]));
  return wrongCode == 0 && retryFailed == 0 && flashed && sameIdentity ? 0 : 1;
}

// The code whose message is on screen, in either language.
int shownCode(const QString& message) {
  for (int code = 0; code < 256; ++code) {
    const Text* t = errorText(code);
    if (!t) continue;
    const QString en = QString::fromUtf8(t->en).trimmed(), ja = QString::fromUtf8(t->ja).trimmed();
    // The box shows the code's message first, a remedy below it.
    const QString first = message.section('\n', 0, 0).trimmed();
    if (first == en.section('\n', 0, 0).trimmed() || first == ja.section('\n', 0, 0).trimmed()) return code;
  }
  return -1;
}

long vmRssKb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& l : f.readAll().split('\n'))
    if (l.startsWith("VmRSS:")) return l.mid(6).trimmed().split(' ').value(0).toLong();
  return -1;
}

int openFds() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') ++n;
    ::closedir(d);
  }
  return n - 1;  // the listing's own
}

int soakWindow(int attempts, unsigned seed) {
  SimProcess sim;
  const Bytes file = startInBootMode(sim, {"--erase-ms", "50", "--program-ms", "1", "--completion-ms", "5",
                                           "--security-ms", "5,10"});
  if (file.empty()) {
    std::fprintf(stderr, "soak_bench: %s\n", qPrintable(sim.error()));
    return 1;
  }
  std::vector<const test::Fault*> rows;
  for (const test::Fault& f : test::kCampaign)
    // Trailing bytes mostly ride out on a pseudo-terminal (see soakCli): not a failing attempt.
    if (f.step == 5 && f.code != 0 && drawable(f) && !std::strstr(f.fault, "trail=")) rows.push_back(&f);
  std::mt19937 rng(seed);
  // The journal and the update record of this window go beside the simulator.
  qputenv("XDG_STATE_HOME", (sim.dir() + "/state").toUtf8());
  ProgramOnSim program(sim);
  const std::uint8_t rate = 5;  // 153600
  int wrongCode = 0, retryFailed = 0;
  const auto t0 = Clock::now();
  std::printf("window soak: attempt 0: VmRSS %ld kB, %d descriptors\n", vmRssKb(), openFds());
  for (int i = 1; i <= attempts; ++i) {
    const test::Fault& row = *rows[rng() % rows.size()];
    sim.control("fault clear");
    sim.control("power");  // the operator back through step 4: the controller restarted
    for (const QString& line : controlLines(row)) sim.control(line);
    program.messages.clear();
    program.runStep5(file, rate);
    sim.control("fault clear");
    const int code = program.messages.isEmpty() ? 0 : shownCode(program.messages[0]);
    if (program.messages.size() != 1 || code != row.code) {
      ++wrongCode;
      std::printf("attempt %d: \"%s\" ended with %d (%lld messages: %s), not %d\n", i, row.fault, code,
                  static_cast<long long>(program.messages.size()), qPrintable(program.messages.join(" / ")), row.code);
    }
    sim.control("power");
    program.messages.clear();
    program.runStep5(file, rate);
    if (!program.messages.isEmpty()) {
      ++retryFailed;
      std::printf("attempt %d: Next again after \"%s\" failed: %s\n", i, row.fault,
                  qPrintable(program.messages.join(" / ")));
    }
    if (i % 10 == 0) {
      std::printf("window soak: attempt %d: VmRSS %ld kB, %d descriptors, %.0f s\n", i, vmRssKb(), openFds(),
                  std::chrono::duration<double>(Clock::now() - t0).count());
      std::fflush(stdout);
    }
  }
  const SimReport end = dump(sim);
  std::printf("window soak: %d failing step-5 attempts (seed %u), each retried, in %.1f s; %d ended with another "
              "code, %d retries failed; flash equals the image: %s\n",
              attempts, seed, std::chrono::duration<double>(Clock::now() - t0).count(), wrongCode, retryFailed,
              qPrintable(end["flash_matches_update_file"]));
  return wrongCode == 0 && retryFailed == 0 && end["flash_matches_update_file"] == "yes" ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const QString mode = args.value(0);
  int count = mode == "window" ? 100 : 200;
  unsigned seed = 1;
  for (int i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == "--updates" || args[i] == "--attempts") count = args[i + 1].toInt();
    else if (args[i] == "--seed") seed = args[i + 1].toUInt();
  }
  if (mode == "cli") return soakCli(count, seed);
  if (mode == "window") return soakWindow(count, seed);
  std::fprintf(stderr, "usage: soak_bench cli [--updates N] [--seed S] | window [--attempts N] [--seed S]\n");
  return 2;
}
