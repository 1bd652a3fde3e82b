#include "platform/services.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace qlc {

namespace {

class DesktopShell final : public Shell {
 public:
  bool Open(const QUrl &url) override { return QDesktopServices::openUrl(url); }
};

class SystemPrograms final : public Programs {
 public:
  bool FileExists(const QString &path) override { return QFileInfo(path).isFile(); }
  QString FindOnPath(const QString &name) override { return QStandardPaths::findExecutable(name); }
  bool StartDetached(const QString &program) override {
    return QProcess::startDetached(program, {});
  }
};

}  // namespace

Services SystemServices() {
  static DesktopShell shell;
  static const std::unique_ptr<Registry> registry = SystemRegistry();
  static SystemPrograms programs;
  return {.shell = &shell, .registry = registry.get(), .programs = &programs};
}

Services &CurrentServices() {
  static Services current = SystemServices();
  return current;
}

}  // namespace qlc
