#pragma once
// Opening a web address or a mailto: address with the desktop's handler. Tests put a
// recording double in place so that nothing really opens.

#include <QList>
#include <QUrl>
#include <functional>

namespace qlc {

using ShellOpenFunction = std::function<bool(const QUrl &)>;

// Opens the address through the current function (QDesktopServices unless replaced).
bool ShellOpen(const QUrl &url);
// Replaces the function; an empty one restores QDesktopServices. Returns the old one.
ShellOpenFunction SetShellOpenFunction(ShellOpenFunction fn);

// Records every address instead of opening it, while it lives.
class RecordingShell {
 public:
  RecordingShell();
  ~RecordingShell();
  RecordingShell(const RecordingShell &) = delete;
  RecordingShell &operator=(const RecordingShell &) = delete;
  QList<QUrl> opened;

 private:
  ShellOpenFunction previous_;
};

}  // namespace qlc
