// Copies form-model controls into widgets, touching a widget only when its model changed, so
// mirroring often is cheap and does not reset a text box's scroll position or a user's edit.
#pragma once
#include <string>
#include <unordered_map>

#include <QFont>
#include <QRect>
#include <QString>

#include "base/controls.h"
#include "base/form_layout.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QPlainTextEdit;
class QProgressBar;
class QWidget;

namespace vq::ui {

// The window font for a face name of the models. The Japanese face does not exist on Linux:
// fontconfig falls back to the installed Japanese Gothic font; the fixed-pitch hint keeps the
// English face a typewriter font.
QFont windowFontFor(const std::string& face);

class Mirror {
 public:
  // Sets the font of a whole window; returns true when it changed.
  bool font(QWidget* window, const std::string& face);
  void title(QWidget* window, const std::string& caption);
  void label(QLabel* w, const Label& l);
  void text(QLabel* w, const std::string& s);
  void group(QGroupBox* w, const Label& l);
  void button(QAbstractButton* w, const Button& b);
  // followEnd: show the last line (a progress log), else the first.
  void plainText(QPlainTextEdit* w, const std::string& s, bool followEnd = false);
  void lineEdit(QLineEdit* w, const std::string& s);
  void combo(QComboBox* w, const ComboBox& c);
  void progress(QProgressBar* w, const ProgressBar& p);

 private:
  bool changed(const QObject* w, const std::string& now);
  std::unordered_map<const QObject*, std::string> last_;
  std::string face_;
};

// A place of the layout table (pixels at 96 DPI) in the widget's pixels: scaled by the screen's
// logical DPI / 96, edges rounded so neighbours that touch still touch.
QRect scaled(const QWidget* w, const Rect& r);
// Puts a control at its place, relative to its container.
void place(QWidget* w, const Rect& r);

// "&" would be taken as a shortcut marker in captions.
QString caption(const std::string& s);

}  // namespace vq::ui
