#include "main_window/first_frame.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace qlc {

AfterFirstFrame::AfterFirstFrame(QWidget *window, std::function<void()> work)
    : QObject(window), window_(window), work_(std::move(work)) {
  // Watching the whole application: the paint of the window widget, the events of its
  // native window, and input to any widget.
  qApp->installEventFilter(this);
}

AfterFirstFrame::~AfterFirstFrame() {
  if (qApp) qApp->removeEventFilter(this);
}

void AfterFirstFrame::Run() {
  if (!work_) return;
  qApp->removeEventFilter(this);
  // Taken out first: the work runs once even if it sends events of its own.
  const std::function<void()> work = std::move(work_);
  work_ = nullptr;
  work();
}

bool AfterFirstFrame::eventFilter(QObject *watched, QEvent *event) {
  if (!work_ || window_.isNull()) return false;
  if (event->type() == QEvent::Paint && watched->isWidgetType() &&
      static_cast<QWidget *>(watched)->window() == window_) {
    painted_ = true;
    return false;
  }
  if (forwarding_) return false;
  const QEvent::Type type = event->type();
  switch (type) {
    // Input that acts: the pointer merely entering or moving over the window does not.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
      Run();
      return false;
    default:
      break;
  }
  if (watched != window_->windowHandle() ||
      (type != QEvent::Expose && type != QEvent::UpdateRequest && type != QEvent::Paint))
    return false;
  // One of the native window's events that paint it: the window paints and shows the
  // frame while handling it, so hand it on now and see whether a frame came of it.
  painted_ = false;
  forwarding_ = true;
  QCoreApplication::sendEvent(watched, event);
  forwarding_ = false;
  if (painted_) Run();
  return true;  // handled above
}

}  // namespace qlc
