#include "win32ui/program_windows.h"

#include "app/frm_force_update.h"
#include "app/frm_main.h"
#include "base/port_conf_rows.h"
#include "config/frm_port_conf.h"
#include "front/click_gate.h"
#include "platform/native/windows_text.h"

namespace vq::win32ui {

namespace {

using front::runClick;
using front::runProcedure;

// A stage may refresh for every block it writes; painting each time would cost more than the
// writing. Paint now at most this often, otherwise at the next pass of the loop.
constexpr auto kRepaintEvery = std::chrono::milliseconds(100);

// Frames last: the first window made is the top of its siblings, and a frame drawn over the
// labels inside it would hide them.
std::vector<ControlSpec> mainSpecs() {
  return {{"lblProcess01", Kind::Label},     {"lblProcess02", Kind::Label},    {"lblProcess03", Kind::Label},
          {"lblProcess04", Kind::Label},     {"lblProcess05", Kind::Label},    {"lblProcess06", Kind::Label},
          {"lblProcess07", Kind::Label},     {"lblProcess08", Kind::Label},    {"lblFWFileTitle", Kind::Label},
          {"lblFWFile", Kind::Panel},        {"cmdFWFileSel", Kind::Button},   {"lblFWOldTitle", Kind::Center},
          {"lblFWNewTitle", Kind::Center},   {"lblFWOld", Kind::CenterPanel},  {"lblFWTo", Kind::Center},
          {"lblFWNew", Kind::CenterPanel},   {"txtInfo", Kind::TextBox},       {"txtProcess", Kind::TextBox},
          {"prgProcess", Kind::Progress},    {"cmdCommSetting", Kind::Button}, {"cmdForceUpdate", Kind::Button},
          {"cmdCancel", Kind::Button},       {"cmdNext", Kind::DefaultButton}, {"fraProcess", Kind::Group},
          {"fraFWInfo", Kind::Group}};
}

std::vector<ControlSpec> portConfSpecs() {
  std::vector<ControlSpec> s;
  for (const PortConfRow& r : kPortConfRows) s.push_back({r.title, Kind::Label});
  for (const PortConfRow& r : kPortConfRows) s.push_back({r.list, Kind::Combo});
  s.push_back({"cmdSet", Kind::DefaultButton});
  s.push_back({"cmdCancel", Kind::Button});
  s.push_back({"fraPort", Kind::Group});
  return s;
}

std::vector<ControlSpec> forceUpdateSpecs() {
  return {{"lblModelTitle", Kind::Label},  {"cboModel", Kind::Combo}, {"txtModelInfo", Kind::Note},
          {"lblSerialTitle", Kind::Label}, {"txtSerial", Kind::Edit}, {"txtSerialInfo", Kind::Note},
          {"lblSaved", Kind::Label},       {"cmdForget", Kind::Button}, {"cmdSet", Kind::Button},
          {"cmdCancel", Kind::Button}};
}

// The forced-update dialog grows a line while a saved update waits for the port.
Arrangement savedLine() {
  return frmForceUpdate.lblSaved.visible ? Arrangement::SavedLine : Arrangement::NoSavedLine;
}

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

ProgramWindows::ProgramWindows(WindowLoop& loop, WindowPlatform& platform)
    : loop_(loop), platform_(platform), main_("frmMain", mainSpecs()) {
  platform_.owner = [this] { return front(); };
  platform_.mirror = [this] { mirrorAll(); };
  wire(main_);
  main_.onCommand = [this](std::string_view name, int code) {
    if (code == BN_CLICKED) clickMain(name);
  };
  main_.onClose = [this] {
    if (quitting_) return;
    bool allowed = true;
    runProcedure([&] { allowed = frmMain_QueryUnload(); });
    // Closing the main window ends the program, the modeless port dialog with it.
    if (allowed) quit();
  };
  // Tab, Enter and Escape in the dialogs.
  loop_.preTranslate = [this](MSG& msg) {
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    return root && (root == portConf() || root == forceUpdate()) && ::IsDialogMessageW(root, &msg);
  };
}

ProgramWindows::~ProgramWindows() {
  loop_.preTranslate = nullptr;
  platform_.owner = nullptr;
  platform_.mirror = nullptr;
}

void ProgramWindows::wire(FormWindow& w) {
  w.busy = [this] { return platform_.busy(); };
  w.onRemirror = [this] { platform_.mirrorAll(); };
  w.onModalLoop = [this](bool entering) {
    if (entering) loop_.enterModal();
    else loop_.leaveModal();
  };
}

void ProgramWindows::start() {
  runProcedure(frmMain_Load);
  main_.create(nullptr, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CONTROLPARENT, -1, -1, true);
  mirrorAll();
  ::ShowWindow(main_.hwnd(), SW_SHOW);
  ::UpdateWindow(main_.hwnd());
}

HWND ProgramWindows::front() const {
  if (HWND f = forceUpdate()) return f;
  return main_.hwnd();
}

void ProgramWindows::mirrorAll() {
  mirrorMain();
  if (portConf()) mirrorPortConf();
  if (forceUpdate()) mirrorForceUpdate();
}

void ProgramWindows::mirrorMain() {
  if (!main_.hwnd()) return;
  const FrmMain& f = frmMain;
  main_.title(f.caption);
  main_.font(f.fontName);
  main_.group("fraProcess", f.fraProcess);
  static const char* const kSteps[8] = {"lblProcess01", "lblProcess02", "lblProcess03", "lblProcess04",
                                        "lblProcess05", "lblProcess06", "lblProcess07", "lblProcess08"};
  for (int i = 0; i < 8; ++i) main_.label(kSteps[i], f.lblProcess[std::size_t(i)]);
  main_.textBox("txtInfo", f.txtInfo.text, false);
  main_.textBox("txtProcess", f.txtProcess.text, true);
  main_.progress("prgProcess", f.prgProcess);
  main_.status(f.stsAppStatus.panel1, f.stsAppStatus.panel2);
  main_.group("fraFWInfo", f.fraFWInfo);
  main_.label("lblFWFileTitle", f.lblFWFileTitle);
  main_.label("lblFWFile", f.lblFWFile);
  main_.label("lblFWOldTitle", f.lblFWOldTitle);
  main_.label("lblFWOld", f.lblFWOld);
  main_.label("lblFWTo", f.lblFWTo);
  main_.label("lblFWNewTitle", f.lblFWNewTitle);
  main_.label("lblFWNew", f.lblFWNew);
  main_.button("cmdFWFileSel", f.cmdFWFileSel);
  main_.button("cmdCommSetting", f.cmdCommSetting);
  main_.button("cmdForceUpdate", f.cmdForceUpdate);
  main_.button("cmdCancel", f.cmdCancel);
  main_.button("cmdNext", f.cmdNext);
}

void ProgramWindows::clickMain(std::string_view name) {
  struct Click {
    const char* name;
    const Button& model;
    void (*proc)();
  };
  const Click clicks[] = {{"cmdFWFileSel", frmMain.cmdFWFileSel, cmdFWFileSel_Click},
                          {"cmdCommSetting", frmMain.cmdCommSetting, cmdCommSetting_Click},
                          {"cmdForceUpdate", frmMain.cmdForceUpdate, cmdForceUpdate_Click},
                          {"cmdCancel", frmMain.cmdCancel, cmdCancel_Click},
                          {"cmdNext", frmMain.cmdNext, cmdNext_Click}};
  for (const Click& c : clicks)
    if (name == c.name && runClick(c.model, c.proc)) platform_.mirrorAll();
}

void ProgramWindows::mirrorPortConf() {
  const FrmPortConf& f = frmPortConf;
  FormWindow& w = *portConf_;
  w.title(f.caption);
  w.font(f.fontName);
  w.group("fraPort", f.fraPort);
  for (const PortConfRow& r : kPortConfRows) {
    w.label(r.title, f.*r.titleModel);
    w.combo(r.list, f.*r.listModel);
  }
  w.button("cmdSet", f.cmdSet);
  w.button("cmdCancel", f.cmdCancel);
}

void ProgramWindows::clickPortConf(std::string_view name, int code) {
  if (code == CBN_SELCHANGE) {
    for (const PortConfRow& r : kPortConfRows)
      if (name == r.list)
        (frmPortConf.*r.listModel).listIndex = int(::SendMessageW(portConf_->control(name), CB_GETCURSEL, 0, 0));
    return;
  }
  if (code != BN_CLICKED) return;
  bool ran = false;
  if (name == "cmdSet") ran = runClick(frmPortConf.cmdSet, frmPortConf_cmdSet_Click);
  if (name == "cmdCancel") ran = runClick(frmPortConf.cmdCancel, frmPortConf_cmdCancel_Click);
  if (!ran) return;
  if (!frmPortConf.open) closePortConfDialog();
  platform_.mirrorAll();
}

void ProgramWindows::showPortConfDialog() {
  // subSetPort has loaded the model; it stays open until a procedure or the close box closes it.
  frmPortConf.open = true;
  closePortConfDialog();
  portConf_ = std::make_unique<FormWindow>("frmPortConf", portConfSpecs());
  FormWindow& w = *portConf_;
  wire(w);
  w.onCommand = [this](std::string_view name, int code) { clickPortConf(name, code); };
  w.onClose = [this] {
    // The close box: no Set, no restore (frmPortConf_QueryUnload ends in closePortConfDialog).
    runProcedure(frmPortConf_QueryUnload);
    closePortConfDialog();
  };
  w.create(main_.hwnd(), kDialogStyle, kDialogExStyle, frmPortConf.left, frmPortConf.top, false);
  mirrorPortConf();
  ::ShowWindow(w.hwnd(), SW_SHOW);
  ::SetForegroundWindow(w.hwnd());
}

void ProgramWindows::closePortConfDialog() {
  if (!portConf_) return;
  // May come from the dialog's own handler: the window goes now, its object once that
  // handler has returned.
  std::shared_ptr<FormWindow> gone(std::move(portConf_));
  gone->destroy();
  loop_.post([gone] {});
}

void ProgramWindows::mirrorForceUpdate() {
  const FrmForceUpdate& f = frmForceUpdate;
  FormWindow& w = *forceUpdate_;
  w.arrange(savedLine());
  w.title(f.caption);
  w.font(f.fontName);
  w.label("lblModelTitle", f.lblModelTitle);
  w.text("txtModelInfo", f.txtModelInfo.text);
  w.combo("cboModel", f.cboModel);
  w.label("lblSerialTitle", f.lblSerialTitle);
  w.text("txtSerialInfo", f.txtSerialInfo.text);
  w.edit("txtSerial", f.txtSerial.text);
  w.label("lblSaved", f.lblSaved);
  w.button("cmdForget", f.cmdForget);
  w.button("cmdSet", f.cmdSet);
  w.button("cmdCancel", f.cmdCancel);
}

void ProgramWindows::clickForceUpdate(std::string_view name, int code) {
  FormWindow& w = *forceUpdate_;
  if (name == "cboModel" && code == CBN_SELCHANGE) {
    frmForceUpdate.cboModel.listIndex = int(::SendMessageW(w.control(name), CB_GETCURSEL, 0, 0));
    return;
  }
  if (name == "txtSerial") {
    HWND e = w.control(name);
    const int len = ::GetWindowTextLengthW(e);
    std::wstring text(std::size_t(len) + 1, L'\0');
    ::GetWindowTextW(e, text.data(), len + 1);
    text.resize(std::size_t(len));
    frmForceUpdate.txtSerial.text = native::utf8Text(text);
    return;
  }
  if (code != BN_CLICKED) return;
  bool ran = false;
  if (name == "cmdForget") ran = runClick(frmForceUpdate.cmdForget, frmForceUpdate_cmdForget_Click);
  if (name == "cmdSet") ran = runClick(frmForceUpdate.cmdSet, frmForceUpdate_cmdSet_Click);
  if (name == "cmdCancel") ran = runClick(frmForceUpdate.cmdCancel, frmForceUpdate_cmdCancel_Click);
  if (ran) platform_.mirrorAll();
}

void ProgramWindows::showForceUpdateDialog() {
  // cmdForceUpdate_Click has loaded the model. Modal in a loop of ours, so the port and the
  // timers are served as in the main window's; it ends when a procedure or the close box
  // closes the dialog.
  forceUpdate_ = std::make_unique<FormWindow>("frmForceUpdate", forceUpdateSpecs());
  FormWindow& w = *forceUpdate_;
  bool closed = false;
  wire(w);
  w.onCommand = [this](std::string_view name, int code) { clickForceUpdate(name, code); };
  w.onClose = [&closed] {
    if (closed) return;
    closed = true;
    runProcedure(frmForceUpdate_QueryUnload);
  };
  w.arrange(savedLine());
  w.create(main_.hwnd(), kDialogStyle, kDialogExStyle, -1, -1, false);
  mirrorForceUpdate();
  HWND others[] = {main_.hwnd(), portConf()};
  for (HWND o : others)
    if (o) ::EnableWindow(o, FALSE);
  ::ShowWindow(w.hwnd(), SW_SHOW);
  ::SetForegroundWindow(w.hwnd());
  while (!closed && frmForceUpdate.open && w.hwnd() && !loop_.quitting()) loop_.pump(true);
  // Back on before the dialog goes, or the system activates another program's window.
  for (HWND o : others)
    if (o && ::IsWindow(o)) ::EnableWindow(o, TRUE);
  w.destroy();
  forceUpdate_.reset();
  platform_.mirrorAll();
}

void ProgramWindows::refresh() {
  platform_.mirrorAll();
  const auto now = std::chrono::steady_clock::now();
  if (now - lastPaint_ < kRepaintEvery || !main_.hwnd()) return;
  lastPaint_ = now;
  ::RedrawWindow(main_.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void ProgramWindows::quit() {
  if (quitting_) return;
  quitting_ = true;
  closePortConfDialog();
  main_.destroy();
  ::PostQuitMessage(0);
}

}  // namespace vq::win32ui
