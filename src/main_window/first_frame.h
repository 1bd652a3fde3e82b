#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace qlc {

// Start-up work that the window's first frame does not need: it runs right after that
// frame is on the screen, within the same event, so that nothing the user does can reach
// the program before it. Should input that acts (a button, a key, the wheel) come first
// (the window cannot be seen yet, but input can be sent to it), the work runs before that
// input is handled. Run() does it at once where a caller needs its result earlier; the
// work runs once.
class AfterFirstFrame : public QObject {
  Q_OBJECT
 public:
  AfterFirstFrame(QWidget *window, std::function<void()> work);
  ~AfterFirstFrame() override;

  void Run();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  QPointer<QWidget> window_;
  std::function<void()> work_;
  bool painted_ = false;     // the window has been painted in the event being handled
  bool forwarding_ = false;  // that event is being handed on to the window now
};

}  // namespace qlc
