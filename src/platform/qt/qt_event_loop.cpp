#include "platform/qt/qt_event_loop.h"

#include <QTimer>
#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#else
#include <QSocketNotifier>
#endif

namespace vq::qt {

namespace {

// A handle may go inside its own notifier's or timer's call (the port closed from a receive
// event): the Qt object is switched off and deleted once control is back in the loop.
template <class T>
void retire(T* object) {
  object->disconnect();
  object->deleteLater();
}

#ifdef Q_OS_WIN
// Each side is an event that stays signalled until the port's handler takes what it reports.
class Watch : public native::IoWatch {
 public:
  Watch(native::Waitable source, std::function<void()> onReadable, std::function<void()> onWritable)
      : read_(new QWinEventNotifier(source.readable)),
        write_(source.writable ? new QWinEventNotifier(source.writable) : nullptr) {
    QObject::connect(read_, &QWinEventNotifier::activated, [f = std::move(onReadable)] { native::runGuarded(f); });
    if (write_) {
      write_->setEnabled(false);
      QObject::connect(write_, &QWinEventNotifier::activated, [f = std::move(onWritable)] { native::runGuarded(f); });
    }
  }
  ~Watch() override {
    read_->setEnabled(false);
    retire(read_);
    if (write_) {
      write_->setEnabled(false);
      retire(write_);
    }
  }
  void setReadEnabled(bool on) override { read_->setEnabled(on); }
  void setWriteEnabled(bool on) override {
    if (write_ && write_->isEnabled() != on) write_->setEnabled(on);
  }

 private:
  QWinEventNotifier* read_;
  QWinEventNotifier* write_;
};
#else
class Watch : public native::IoWatch {
 public:
  Watch(native::Waitable source, std::function<void()> onReadable, std::function<void()> onWritable)
      : read_(new QSocketNotifier(source.fd, QSocketNotifier::Read)),
        write_(new QSocketNotifier(source.fd, QSocketNotifier::Write)) {
    write_->setEnabled(false);
    // QSocketNotifier's read side also fires on a hang-up or an error of the descriptor.
    QObject::connect(read_, &QSocketNotifier::activated, [f = std::move(onReadable)] { native::runGuarded(f); });
    QObject::connect(write_, &QSocketNotifier::activated, [f = std::move(onWritable)] { native::runGuarded(f); });
  }
  ~Watch() override {
    read_->setEnabled(false);
    write_->setEnabled(false);
    retire(read_);
    retire(write_);
  }
  void setReadEnabled(bool on) override { read_->setEnabled(on); }
  void setWriteEnabled(bool on) override {
    if (write_->isEnabled() != on) write_->setEnabled(on);
  }

 private:
  QSocketNotifier* read_;
  QSocketNotifier* write_;
};
#endif

class Timer : public native::LoopTimer {
 public:
  Timer(bool singleShot, std::function<void()> onFire) : timer_(new QTimer) {
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setSingleShot(singleShot);
    QObject::connect(timer_, &QTimer::timeout, [f = std::move(onFire)] { native::runGuarded(f); });
  }
  ~Timer() override {
    timer_->stop();
    retire(timer_);
  }
  void start(int ms) override { timer_->start(ms); }
  void stop() override { timer_->stop(); }
  bool active() const override { return timer_->isActive(); }

 private:
  QTimer* timer_;
};

}  // namespace

std::unique_ptr<native::IoWatch> QtEventLoop::watch(native::Waitable source, std::function<void()> onReadable,
                                                    std::function<void()> onWritable) {
  return std::make_unique<Watch>(source, std::move(onReadable), std::move(onWritable));
}

std::unique_ptr<native::LoopTimer> QtEventLoop::timer(bool singleShot, std::function<void()> onFire) {
  return std::make_unique<Timer>(singleShot, std::move(onFire));
}

}  // namespace vq::qt
