// One window of a form model: its controls made from a list of (name, kind), placed from the
// forms' layout table (base/form_layout.h) for the window's face and arrangement and scaled
// for the monitor's DPI (again when the window moves to a monitor of another DPI), and the models copied in by the mirror calls below, which touch a control
// only when its model changed: mirroring often stays cheap and does not reset a text box's
// scroll position or a list the operator has open.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/controls.h"
#include "base/form_layout.h"

namespace vq::win32ui {

enum class Kind {
  Group,      // a frame with a caption
  Label,      // text, left
  Center,     // text, centred
  Panel,      // text in a sunken box, left, cut with an ellipsis
  CenterPanel,
  Note,       // text in a sunken box, wrapped (an explanation)
  Button,
  DefaultButton,
  TextBox,    // multi-line, read-only, scrolling
  Edit,       // one line the operator types
  Combo,      // a drop-down list
  Progress,
};

struct ControlSpec {
  const char* name;
  Kind kind;
};

class FormWindow {
 public:
  FormWindow(const char* form, std::vector<ControlSpec> specs);
  virtual ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Creates the window hidden, its client area sized from the table for the DPI it lands
  // on, at (x, y) on the screen, or centred over owner (or the screen) when x < 0.
  void create(HWND owner, DWORD style, DWORD exStyle, int x, int y, bool statusBar);
  // frmForceUpdate's two arrangements: the controls move and the window grows or shrinks.
  void arrange(Arrangement shown);
  void destroy();
  HWND hwnd() const { return hwnd_; }
  HWND control(std::string_view name) const;
  const char* form() const { return form_; }
  int dpi() const { return dpi_; }
  // Moves the window to (x, y) on the screen.
  void moveTo(int x, int y);

  // A control was used (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE), with its name.
  std::function<void(std::string_view name, int code)> onCommand;
  // The close box (or Alt+F4, Escape in a dialog).
  std::function<void()> onClose;
  // Fonts or places changed (a new DPI): every control must be mirrored again.
  std::function<void()> onRemirror;
  // The hourglass is up over this window when it answers true.
  std::function<bool()> busy;
  // Moving or sizing the window runs a modal loop of the system.
  std::function<void(bool entering)> onModalLoop;

  // The mirror.
  void font(const std::string& face);
  void title(const std::string& caption);
  void label(std::string_view name, const Label& l);
  void text(std::string_view name, const std::string& s);
  void group(std::string_view name, const Label& l);
  void button(std::string_view name, const Button& b);
  // followEnd: show the last line (a progress log), else the first.
  void textBox(std::string_view name, const std::string& s, bool followEnd);
  void edit(std::string_view name, const std::string& s);
  void combo(std::string_view name, const ComboBox& c);
  void progress(std::string_view name, const ProgressBar& p);
  void status(const std::string& panel1, const std::string& panel2);

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void makeFonts();
  void place();
  void fitClient();
  Rect placeOf(std::string_view control, int index) const;
  int scale(int v) const { return MulDiv(v, dpi_, 96); }
  bool changed(HWND w, const std::string& now);
  void show(HWND w, bool visible);

  const char* form_;
  std::vector<ControlSpec> specs_;
  std::vector<HWND> controls_;
  HWND status_ = nullptr;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  std::string face_;
  Arrangement arrangement_ = Arrangement::Always;
  HFONT normal_ = nullptr;
  HFONT bold_ = nullptr;
  std::unordered_map<HWND, std::string> last_;
  std::unordered_map<HWND, std::wstring> shown_;  // what a text box shows
  bool mirroring_ = false;  // EN_CHANGE of our own SetWindowText is not the operator's
};

// A control's text for Windows: UTF-16, line breaks as CR LF.
std::wstring windowsText(const std::string& s);
// The monitor's DPI of a window (96 where the system cannot say).
int dpiOf(HWND hwnd);

}  // namespace vq::win32ui
