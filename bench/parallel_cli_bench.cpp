// Several instruments at once: N vq-update-cli processes, each updating its own vq-sim (paced
// line, writing rate 153600) side by side, for N = 1, 4 and 8. Each program holds only its own
// port, so on a machine with cores to spare the wall time of N updates should stay that of
// one: the figure printed is wall(N) / wall(1) (target: at most 1.10 at N = 16 on two cores),
// with the CPU time the programs and the simulators took.
//   parallel_cli_bench [--counts 1,4,16] [--rate BAUD]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "e2e/sim_process.h"

extern char** environ;

using namespace vq::e2e;

namespace {

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// CPU seconds a running process has used (user + system), from /proc.
double procCpuSeconds(qint64 pid) {
  QFile f(QString("/proc/%1/stat").arg(pid));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray s = f.readAll();
  // Fields after the command name in parentheses: state is field 3, utime 14, stime 15.
  const QList<QByteArray> rest = s.mid(s.lastIndexOf(')') + 2).split(' ');
  if (rest.size() < 13) return 0;
  return double(rest[11].toLongLong() + rest[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

struct Round {
  double wallS = 0, cliCpuS = 0, simCpuS = 0;
  int failed = 0;
};

bool runRound(int n, const QString& rate, Round& round) {
  std::vector<std::unique_ptr<SimProcess>> sims;
  std::vector<QString> files;
  for (int i = 0; i < n; ++i) {
    auto sim = std::make_unique<SimProcess>();
    const QString file = sim->makeUpdateFile("new.bin", {"--version", "1.2.0", "--seed", QString::number(5 + i)});
    // Short device delays: the line's time is what the updates share.
    if (file.isEmpty() || !sim->start({"--switch", "auto", "--pace", "--expect-file", file, "--init-ms", "50",
                                       "--erase-ms", "50", "--program-ms", "1", "--completion-ms", "5",
                                       "--security-ms", "5,10"})) {
      std::fprintf(stderr, "parallel_cli_bench: %s\n", qPrintable(sim->error()));
      return false;
    }
    files.push_back(file);
    sims.push_back(std::move(sim));
  }

  // posix_spawn and wait4: each program's own CPU time, not that of everything this process
  // ever started.
  std::vector<pid_t> pids;
  QElapsedTimer wall;
  wall.start();
  for (int i = 0; i < n; ++i) {
    const QString state = sims[std::size_t(i)]->dir() + "/state";
    std::vector<std::string> args{VQ_UPDATE_CLI_PATH, "--port", sims[std::size_t(i)]->linkPath().toStdString(),
                                  "--file", files[std::size_t(i)].toStdString(), "--writing-rate", rate.toStdString(),
                                  "--switch-ready", "--lang", "en", "--trace",
                                  (sims[std::size_t(i)]->dir() + "/trace.txt").toStdString()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText{"XDG_STATE_HOME=" + state.toStdString()};
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("XDG_STATE_HOME=", 0) != 0) envText.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    const std::string log = (sims[std::size_t(i)]->dir() + "/cli.log").toStdString();
    posix_spawn_file_actions_addopen(&fa, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
      std::fprintf(stderr, "parallel_cli_bench: cannot start %s\n", argv[0]);
      return false;
    }
    pids.push_back(pid);
  }
  std::vector<bool> updateFailed(pids.size(), false);
  for (std::size_t i = 0; i < pids.size(); ++i) {
    int status = 0;
    rusage ru{};
    if (::wait4(pids[i], &status, 0, &ru) < 0) return false;
    round.cliCpuS += seconds(ru.ru_utime) + seconds(ru.ru_stime);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      updateFailed[i] = true;
      ++round.failed;
      // Where it stopped: the last step named and the message's first line.
      QFile f(sims[i]->dir() + "/cli.log");
      QString step, first;
      if (f.open(QIODevice::ReadOnly))
        for (const QString& l : QString::fromUtf8(f.readAll()).split('\n')) {
          if (l.startsWith("== ")) step = l;
          else if (!step.isEmpty() && first.isEmpty() && l.contains("occur")) first = l;
        }
      // The trace and the simulator's report outlive the run's temporary folder.
      const QString kept = QDir::temp().filePath(QString("parallel_cli_bench-%1-%2").arg(n).arg(i + 1));
      QDir(kept).removeRecursively();
      QDir().mkpath(kept);
      QFile::copy(sims[i]->dir() + "/trace.txt", kept + "/trace.txt");
      QFile::copy(f.fileName(), kept + "/cli.log");
      sims[i]->report();
      QFile::copy(sims[i]->reportPath(), kept + "/report.txt");
      std::printf("  update %zu failed with status %d in %s: %s (trace, log and report in %s)\n", i + 1,
                  WEXITSTATUS(status), qPrintable(step), qPrintable(first), qPrintable(kept));
    }
  }
  round.wallS = double(wall.nsecsElapsed()) / 1e9;
  // What the instruments say: a protocol violation, or a flash that is not the file although
  // the update said it succeeded. An update counts as failed once.
  for (std::size_t i = 0; i < sims.size(); ++i) {
    round.simCpuS += procCpuSeconds(sims[i]->pid());
    const SimReport r = sims[i]->report();
    const bool violated = r["violations"] != "0";
    const bool wrongFlash = !updateFailed[i] && r["flash_matches_update_file"] != "yes";
    if (!violated && !wrongFlash) continue;
    if (!updateFailed[i]) ++round.failed;
    std::printf("  simulator %s:%s %s\n", qPrintable(sims[i]->dir()), wrongFlash ? " flash is not the file;" : "",
                qPrintable(r.linesStarting("violation ").join("; ")));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QList<int> counts{1, 4, 16};
  QString rate = "153600";
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == "--counts" && i + 1 < args.size()) {
      counts.clear();
      for (const QString& c : args[++i].split(',')) counts << c.toInt();
    } else if (args[i] == "--rate" && i + 1 < args.size()) {
      rate = args[++i];
    } else {
      std::fprintf(stderr, "usage: parallel_cli_bench [--counts 1,4,16] [--rate BAUD]\n");
      return 2;
    }
  }
  std::printf("parallel updates: vq-update-cli against vq-sim, paced line, writing rate %s, %ld cores\n",
              qPrintable(rate), ::sysconf(_SC_NPROCESSORS_ONLN));
  double wall1 = 0;
  bool ok = true;
  for (int n : counts) {
    Round r;
    if (n < 1 || !runRound(n, rate, r)) return 1;
    if (wall1 == 0) wall1 = r.wallS;
    std::printf("  N=%d  wall %7.3f s  wall(N)/wall(1) %.3f  CPU: programs %6.3f s (%.3f s each), simulators %6.3f s%s\n",
                n, r.wallS, r.wallS / wall1, r.cliCpuS, r.cliCpuS / n, r.simCpuS,
                r.failed ? qPrintable(QString("  FAILED: %1").arg(r.failed)) : "");
    std::fflush(stdout);
    ok = ok && r.failed == 0;
  }
  return ok ? 0 : 1;
}
