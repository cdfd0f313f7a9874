#include "cli/cli_run.h"

#include <cstdlib>
#include <filesystem>

#include "app/frm_force_update.h"
#include "app/file_select.h"
#include "app/frm_main.h"
#include "app/sequencer.h"
#include "app/update_attempt.h"
#include "app/update_journal_steps.h"
#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/param_store.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/update_record.h"
#include "base/utf8_path.h"
#include "base/wizard_codes.h"
#include "cli/console_io.h"

namespace vq::cli {

namespace {

constexpr Text kPressEnter{"FWスイッチの準備ができたら Enter キーを押してください（Ctrl+C で中止）。",
                           "Press Enter when done (Ctrl+C stops)."};
constexpr Text kHalfWritten{"今中止するとコントローラーは書きかけのままになります。"
                            "中止するには 3 秒以内にもう一度 Ctrl+C を押してください。",
                            "Stopping now leaves the controller half-written. Press Ctrl+C again within 3 s to stop."};
constexpr Text kIdentityAtRisk{"今中止すると機器のモデル名とシリアル番号が失われることがあります。"
                               "中止するには 3 秒以内にもう一度 Ctrl+C を押してください。",
                               "Stopping now can leave the instrument without its model name and serial number. "
                               "Press Ctrl+C again within 3 s to stop."};
constexpr Text kStopped{"中止しました。", "Stopped."};
constexpr Text kNoInput{"入力がありません（標準入力が閉じています）。FWスイッチを別の手段で動かす場合は --switch-ready を指定してください。",
                        "No input to go on with (stdin is closed); give --switch-ready when the FW switch is moved by other means."};
constexpr Text kRecordFailed{"更新記録を書き込めませんでした：", "The update record could not be written: "};

constexpr Text kWaiting{"更新が完了していない機器があります：", "An unfinished update is waiting: "};
constexpr Text kWaitingHint{"（--resume で保存された機器情報を使って更新を続けられます）",
                            " (--resume carries its saved identity on)"};
constexpr Text kResuming{"機器から正しい応答がないため、保存された機器情報で更新を続けます：",
                         "The instrument gave no valid reply; resuming with the saved identity: "};
constexpr Text kResumeReadFirst{"中断された更新を続けます。まず機器を読み取ります：",
                                "Continuing an update cut short; the instrument is read first: "};
constexpr Text kResumeSame{"保存された更新と同じ機器です。通常の更新を行います。",
                           "The same instrument as the saved update: an ordinary update follows."};
constexpr Text kNoReplyHint{"この機器がその機器であれば、--resume で保存された機器情報を使って更新を続けられます：",
                            "If this is that instrument, --resume continues this port's update cut short: "};

constexpr int kDefaultColumns = 80;
constexpr const char* kProgram = "vq-update-cli " VQ_VERSION;

std::string plainLines(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  return text;
}

}  // namespace

int listUnfinished() {
  native::ComPortMap map;
  native::JournalFiles journal(map);
  std::vector<JournalProblem> problems;
  for (const JournalEntry& e : journal.unfinished(problems)) std::printf("%s\n", fncJournalListLine(e).c_str());
  for (const JournalProblem& p : problems)
    std::fprintf(stderr, "vq-update-cli: %s: cannot be trusted, ignored: %s\n", p.path.c_str(), p.why.c_str());
  return 0;
}

int forgetUnfinished(const std::string& model, const std::string& serial) {
  native::ComPortMap map;
  native::JournalFiles journal(map);
  std::vector<JournalProblem> problems;
  for (const JournalEntry& e : journal.unfinished(problems)) {
    if (e.model != model || fncTypedSerial(e.serial) != fncTypedSerial(serial)) continue;
    journal.finish(e.model, e.serial);
    std::printf("forgotten: %s\n", fncJournalSummary(e).c_str());
    return 0;
  }
  std::fprintf(stderr, "vq-update-cli: --forget: no unfinished update saved for %s %s (--list-unfinished names them)\n",
               model.c_str(), serial.c_str());
  return kExitUsage;
}

Run::Run(Options options) : opt_(std::move(options)), out_(opt_.json ? stderr : stdout), log_(map_, kProgram) {}

Run::~Run() {
  installJournalStore(nullptr);
  installUpdateRecordSink(nullptr);
  installProgress(nullptr);
  port_.onComm = nullptr;
  timer_.onTick = nullptr;
  installPlatform(nullptr, nullptr, nullptr);
}

void Run::tellOperator(const std::string& text) {
  terminal_->closeLine();
  std::fprintf(stderr, "%s\n", plainLines(text).c_str());
  std::fflush(stderr);
}

bool Run::setUp(std::string& refused) {
  for (const auto& [n, path] : opt_.pins) map_.pin(n, path);
  int com = opt_.com;
  if (!opt_.port.empty()) {
    const std::string& path = opt_.port;
    for (int n = 1; n <= 16 && com == 0; ++n)
      if (map_.pathFor(n) == path) com = n;
    if (com == 0) {
      com = 1;
      map_.pin(com, path);
    }
  }

  SerialPort* port = &port_;
  terminal_ = std::make_unique<TerminalProgress>(out_, isTerminal(out_), terminalColumns(out_, kDefaultColumns));
  Progress* shown = terminal_.get();
  if (!opt_.trace.empty()) {
    std::string why;
    if (!trace_.open(opt_.trace, kProgram, why)) {
      refused = "cannot write the trace: " + why;
      return false;
    }
    tracedPort_ = std::make_unique<TracingSerialPort>(port_, trace_);
    tracedProgress_ = std::make_unique<TracingProgress>(*terminal_, trace_);
    port = tracedPort_.get();
    shown = tracedProgress_.get();
  }
  installPlatform(&platform_, port, &timer_);
  installProgress(shown);
  log_.onError = [this](const std::string& why) { tellOperator("vq-update-cli: " + pick(kRecordFailed) + why); };
  installUpdateRecordSink(&log_);
  installJournalStore(&journal_);
  platform_.setLangId(opt_.langId);
  platform_.onMessage = [this](const std::string& text) { messages_.push_back(text); };
  interrupts_.onInterrupt = [this] { interrupted(); };

  frmMain_Load();
  // As the port dialog's Set leaves them.
  gCommPort = std::uint8_t(com);
  gCommBaud = opt_.baud;
  gUpdateBaud = std::uint8_t(opt_.updateBaud);
  gCommParity = opt_.parity;
  gCommDataBits = opt_.dataBits;
  gCommStopBits = opt_.stopBits;
  gCommFlow = std::uint8_t(opt_.flow);
  gFileSha256Expected = opt_.sha256;

  if (opt_.forced) {
    // The dialog's own checks, with its own messages.
    frmForceUpdate_Load();
    const auto& models = frmForceUpdate.cboModel.items;
    int index = -1;
    for (std::size_t i = 0; i < models.size(); ++i)
      if (models[i] == opt_.forcedModel) index = int(i);
    if (index < 0) {
      refused = "--forced: unknown model " + opt_.forcedModel + "; choose";
      for (const auto& m : models) refused += " " + m;
      return false;
    }
    frmForceUpdate.cboModel.listIndex = index;
    frmForceUpdate.txtSerial.text = opt_.forcedSerial;
    frmForceUpdate_cmdSet_Click();
    if (!gForceUpdate) {
      refused = "--forced: " + plainLines(messages_.empty() ? "serial number refused" : messages_.back());
      return false;
    }
  }
  if (!opt_.forced) {
    const std::vector<JournalEntry> unfinished = fncUnfinishedUpdates();
    if (opt_.resume && unfinished.empty()) {
      refused = "--resume: no unfinished update to resume (none in " + journal_.dir() + ")";
      return false;
    }
    // Another instrument's identity must never be written into this one: with several waiting
    // and none saved from this port, the operator chooses (a lone one may be this instrument
    // on a replugged adapter).
    const std::string device = platform_.deviceName(gCommPort);
    const std::string& saved = unfinished.empty() ? device : unfinished.front().port;
    if (opt_.resume && unfinished.size() > 1 && saved.substr(saved.find_last_of('/') + 1) != device) {
      refused = "--resume: " + std::to_string(unfinished.size()) +
                " unfinished updates, none saved from this port; --list-unfinished names them";
      return false;
    }
    if (opt_.resume) {
      // Nothing saved goes in before step 2 has had its say on whose instrument this is.
      resume_ = unfinished.front();
      terminal_->say(pick(kResumeReadFirst) + fncJournalListLine(*resume_));
    } else if (!unfinished.empty()) {
      terminal_->say(pick(kWaiting) + fncJournalSummary(unfinished.front()) + pick(kWaitingHint));
    }
  }
  return true;
}

int Run::exec() {
  std::string refused;
  if (!setUp(refused)) {
    std::fprintf(stderr, "vq-update-cli: %s\n", refused.c_str());
    return kExitUsage;
  }

  terminal_->say("== " + frmMain.lblProcess[0].caption + " ==");
  std::error_code ec;
  platform_.setFileAnswer(utf8Of(std::filesystem::absolute(pathOf(opt_.file), ec)));
  subSelectFile();
  if (!gFileValid) {
    return finish(gFileSelectCode != 0 ? gFileSelectCode : kCodeFileOpen, 1);
  }
  terminal_->say(frmMain.lblFWFileTitle.caption + " " + frmMain.lblFWFile.caption + "  " + frmMain.lblFWNew.caption);

  for (int step = gForceUpdate ? 3 : 2; step <= 8; ++step) {
    int code = runStep(step);
    if (step == 2) {
      std::string refused;
      code = afterStep2(code, refused);
      if (!refused.empty()) {
        noteUpdateStopped();
        std::fprintf(stderr, "vq-update-cli: %s\n", refused.c_str());
        return finish(kExitUsage, step);
      }
    }
    if (code != 0) return finish(code, step);
    if ((step == 4 || step == 6 || step == 8)) terminal_->say(frmMain.txtInfo.text);
    if (step == 3)
      terminal_->say(frmMain.lblFWOldTitle.caption + " " + frmMain.lblFWOld.caption + " " + frmMain.lblFWTo.caption +
                     " " + frmMain.lblFWNewTitle.caption + " " + frmMain.lblFWNew.caption);
    if ((step == 4 || step == 6) && !opt_.switchReady && !waitForEnter()) {
      tellOperator(pick(kNoInput));
      stop();
    }
  }
  return finish(0, 0);
}

int Run::afterStep2(int code, std::string& refused) {
  const bool noReply = code == kCodeLinkRetries || code == kCodeLinkTimeout;
  if (!resume_) {
    if (noReply)
      if (const std::optional<JournalEntry> saved = fncSavedForThisPort())
        terminal_->say(pick(kNoReplyHint) + fncJournalListLine(*saved));
    return code;
  }
  if (code == 0) {
    // An instrument that answers keeps its own identity: another one's is never written.
    if (gModelName != resume_->model || gSerialNo != resume_->serial) {
      refused = "--resume: this instrument is " + gModelName + " " + fncTypedSerial(gSerialNo) +
                ", the saved update is " + resume_->model + " " + fncTypedSerial(resume_->serial) +
                "; nothing was written (without --resume it is updated as itself)";
      return code;
    }
    terminal_->say(pick(kResumeSame));
    return code;
  }
  if (!noReply) return code;
  subApplyJournal(*resume_);
  terminal_->say(pick(kResuming) + fncJournalSummary(*resume_));
  return 0;
}

int Run::runStep(int stepNo) {
  terminal_->say("== " + frmMain.lblProcess[std::size_t(stepNo - 1)].caption + " ==");
  messages_.clear();
  gStep = std::uint8_t(stepNo - 1);
  stepRunning_ = stepNo;
  terminal_->setBlockBar(stepNo == 5);
  subSequencer();
  terminal_->setBlockBar(false);
  stepRunning_ = 0;
  terminal_->closeLine();
  return gErrCode;
}

bool Run::waitForEnter() {
  terminal_->say(pick(kPressEnter));
  for (;;) {
    switch (waitForLine(interrupts_)) {
      case InputWait::Line: return true;
      case InputWait::Closed: return false;
      case InputWait::Interrupted: stop(); break;
    }
  }
}

void Run::interrupted() {
  // Only steps 5 and 7 leave the instrument worse off when stopped halfway: a half-written
  // controller, or parameters reset before the identity is written back. Those ask twice.
  if (stepRunning_ != 5 && stepRunning_ != 7) stop();
  const auto now = std::chrono::steady_clock::now();
  if (stopArmed_ && now - *stopArmed_ <= std::chrono::milliseconds(kConfirmStopMs)) stop();
  stopArmed_ = now;
  tellOperator(pick(stepRunning_ == 5 ? kHalfWritten : kIdentityAtRisk));
}

void Run::stop() {
  tellOperator(pick(kStopped));
  noteUpdateStopped();
  try {
    if (mscComm().portOpen()) mscComm().setPortOpen(false);
  } catch (const std::exception&) {
  }
  printJson(kExitStopped, gStep + 1);
  std::fflush(nullptr);
  // Out from inside the step's event processing: nothing of it may run on.
  std::_Exit(kExitStopped);
}

void Run::printJson(int result, int failedStep) {
  if (!opt_.json) return;
  UpdateRecord r;
  if (log_.last) {
    r = *log_.last;
  } else {
    r = log_.complete(fncRecordNow(result, failedStep));
    r.durationS = double(log_.nowMs()) / 1000.0;
  }
  std::fprintf(stdout, "%s\n", fncUpdateRecordJson(r, false).c_str());
  std::fflush(stdout);
}

int Run::finish(int result, int failedStep) {
  terminal_->closeLine();
  if (result != 0)
    for (const std::string& m : messages_) std::fprintf(stderr, "%s\n", plainLines(m).c_str());
  printJson(result, failedStep);
  return result;
}

}  // namespace vq::cli
