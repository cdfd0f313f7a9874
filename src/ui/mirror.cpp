#include "ui/mirror.h"

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextCursor>
#include <QWidget>

#include "base/texts.h"
#include "platform/qt/qt_platform.h"

namespace vq::ui {

namespace {
constexpr int kPointSize = 9;
}

QFont windowFontFor(const std::string& face) {
  QFont f;
  QStringList families{QString::fromStdString(face)};
  // The faces the package brings where the named one is missing: IPAGothic, and Liberation Mono
  // (Courier New's metric twin), so the layout is the same on every machine.
  families << (face == kFontJapanese ? "IPAGothic" : "Liberation Mono");
  f.setFamilies(families);
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSize(kPointSize);
  return f;
}

QRect scaled(const QWidget* w, const Rect& r) {
  const double sx = w->logicalDpiX() / 96.0, sy = w->logicalDpiY() / 96.0;
  const int left = qRound(r.x * sx), top = qRound(r.y * sy);
  return QRect(left, top, qRound(r.right() * sx) - left, qRound(r.bottom() * sy) - top);
}

void place(QWidget* w, const Rect& r) { w->setGeometry(scaled(w, r)); }

QString caption(const std::string& s) { return QString::fromStdString(s).replace('&', "&&"); }

bool Mirror::changed(const QObject* w, const std::string& now) {
  auto [it, added] = last_.try_emplace(w, now);
  if (added) return true;
  if (it->second == now) return false;
  it->second = now;
  return true;
}

bool Mirror::font(QWidget* window, const std::string& face) {
  if (face.empty() || face == face_) return false;
  face_ = face;
  window->setFont(windowFontFor(face));
  return true;
}

void Mirror::title(QWidget* window, const std::string& s) {
  if (changed(window, s)) window->setWindowTitle(QString::fromStdString(s));
}

void Mirror::label(QLabel* w, const Label& l) {
  if (w->isHidden() == l.visible) w->setVisible(l.visible);
  // The face is part of the key: a bold label carries its own font and must follow the window's.
  if (!changed(w, l.caption + (l.bold ? "\1b" : "\1n") + face_)) return;
  w->setText(caption(l.caption));
  QFont f = w->window()->font();
  f.setBold(l.bold);
  w->setFont(f);
}

void Mirror::text(QLabel* w, const std::string& s) {
  if (changed(w, s)) w->setText(qt::displayText(s));
}

void Mirror::group(QGroupBox* w, const Label& l) {
  if (changed(w, l.caption)) w->setTitle(caption(l.caption));
}

void Mirror::button(QAbstractButton* w, const Button& b) {
  if (changed(w, b.caption)) w->setText(caption(b.caption));
  if (w->isEnabled() != b.enabled) w->setEnabled(b.enabled);
  if (w->isHidden() == b.visible) w->setVisible(b.visible);
}

void Mirror::plainText(QPlainTextEdit* w, const std::string& s, bool followEnd) {
  if (!changed(w, s)) return;
  const QString now = qt::displayText(s);
  const QString before = w->toPlainText();
  // A progress log changes in its last line: replacing the text from the first line that
  // differs keeps the other lines' layout and the scroll bar, which a new text would rebuild
  // and repaint for every block written.
  qsizetype same = 0;
  const qsizetype n = std::min(now.size(), before.size());
  while (same < n && now[same] == before[same]) ++same;
  const qsizetype from = same == 0 ? 0 : now.lastIndexOf(u'\n', same - 1) + 1;
  if (from == 0) {
    w->setPlainText(now);
  } else {
    QTextCursor c(w->document());
    c.setPosition(int(from));
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    c.insertText(now.mid(from));
  }
  if (followEnd) w->moveCursor(QTextCursor::End);
}

void Mirror::lineEdit(QLineEdit* w, const std::string& s) {
  const QString q = QString::fromStdString(s);
  if (w->text() != q) w->setText(q);
}

void Mirror::combo(QComboBox* w, const ComboBox& c) {
  std::string key;
  for (const auto& item : c.items) key += item + '\n';
  if (changed(w, key)) {
    w->clear();
    for (const auto& item : c.items) w->addItem(QString::fromStdString(item));
  }
  const int index = c.listIndex >= 0 && c.listIndex < w->count() ? c.listIndex : -1;
  if (w->currentIndex() != index) w->setCurrentIndex(index);
}

void Mirror::progress(QProgressBar* w, const ProgressBar& p) {
  const int lo = p.min, hi = std::max(p.min, p.max);
  if (w->minimum() != lo || w->maximum() != hi) w->setRange(lo, hi);
  const int v = std::clamp(p.value, lo, hi);
  if (w->value() != v) w->setValue(v);
}

}  // namespace vq::ui
