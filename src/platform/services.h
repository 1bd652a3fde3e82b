#pragma once
// The desktop services the program uses, each behind a small interface, and the one place
// where the program finds them. Tests put their doubles in there.

#include <QString>
#include <QUrl>
#include <memory>

#include "platform/registry.h"
#include "platform/tray_host.h"

namespace qlc {

// Opens a web address or a mailto: address with the desktop's handler.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual bool Open(const QUrl &url) = 0;
};

// Finds and starts other programs.
class Programs {
 public:
  virtual ~Programs() = default;
  virtual bool FileExists(const QString &path) = 0;
  // The full path of a program on PATH, or empty.
  virtual QString FindOnPath(const QString &name) = 0;
  virtual bool StartDetached(const QString &program) = 0;
};

// Makes the tray host of a new main window. The system's own needs Qt Widgets and is made in
// tray/ (MakeTrayHost) while CurrentServices() holds none; tests put their double here.
class TrayHosts {
 public:
  virtual ~TrayHosts() = default;
  virtual std::unique_ptr<TrayHost> MakeTrayHost() = 0;
};

struct Services {
  Shell *shell = nullptr;
  Registry *registry = nullptr;
  Programs *programs = nullptr;
  TrayHosts *trayHosts = nullptr;  // null: the system's (tray/system_tray_host.h)
};

// The system's own services; they live as long as the program.
Services SystemServices();
// The services in use: the system's own unless a test has put others in.
Services &CurrentServices();

}  // namespace qlc
