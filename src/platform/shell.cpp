#include "platform/shell.h"

#include <QDesktopServices>

namespace qlc {

namespace {
ShellOpenFunction &Current() {
  static ShellOpenFunction fn;
  return fn;
}
}  // namespace

bool ShellOpen(const QUrl &url) {
  if (Current()) return Current()(url);
  return QDesktopServices::openUrl(url);
}

ShellOpenFunction SetShellOpenFunction(ShellOpenFunction fn) {
  ShellOpenFunction old = std::move(Current());
  Current() = std::move(fn);
  return old;
}

RecordingShell::RecordingShell() {
  previous_ = SetShellOpenFunction([this](const QUrl &url) {
    opened.append(url);
    return true;
  });
}

RecordingShell::~RecordingShell() {
  SetShellOpenFunction(std::move(previous_));
}

}  // namespace qlc
