// The operator at a terminal program, for the terminal tables: each action "TEXT=>WHAT;WHAT..."
// fires once TEXT has appeared in the program's output, after the text before it. WHAT is
// "enter" (a line on stdin), "sigint" (Ctrl+C) or a control line for vq-sim.
#pragma once
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <csignal>

#include "e2e/sim_process.h"

namespace vq::e2e {

struct OperatorRun {
  QByteArray out, err;     // what the program printed meanwhile
  QStringList unplayed;    // actions whose text never appeared
  QStringList refused;     // control lines vq-sim did not take
};

// Plays actions against a started program until it ends or limitMs pass; control lines go to
// sim (refused when there is none).
inline OperatorRun playOperator(QProcess& p, QStringList actions, SimProcess* sim, int limitMs) {
  OperatorRun r;
  qsizetype from = 0;
  QElapsedTimer t;
  t.start();
  while (p.state() != QProcess::NotRunning && t.elapsed() < limitMs) {
    p.waitForReadyRead(50);
    r.out += p.readAllStandardOutput();
    r.err += p.readAllStandardError();
    if (actions.isEmpty()) continue;
    const QString seen = QString::fromUtf8(r.out + r.err);
    const QString want = actions.first().section("=>", 0, 0);
    const qsizetype at = seen.indexOf(want, from);
    if (at < 0) continue;
    from = at + want.size();
    for (const QString& what : actions.takeFirst().section("=>", 1).split(';')) {
      // Under Wine too: the Windows program runs in the process started (wine execs its
      // loader), and Wine turns SIGINT into the console's Ctrl+C event.
      if (what == "sigint") ::kill(pid_t(p.processId()), SIGINT);
      else if (what == "enter") p.write("\n");
      else if (!sim || !sim->ok(what)) r.refused << what;
    }
  }
  r.unplayed = actions;
  return r;
}

}  // namespace vq::e2e
