#include <QApplication>
#include <QDir>
#include <cstdio>

#include "main_window/frm_main.h"
#include "platform/single_instance.h"

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  // Tray hosts that speak StatusNotifierItem list the icon under the application name.
  // Unlike the display name, it is not added to the window captions.
  QApplication::setApplicationName(QStringLiteral("Quellor Unit Converter"));
  // Lets desktops match the window with its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.quellor.qlconvert"));
  // The window hides to the tray; only "Unload Program" ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  // One running copy per data folder: a second start brings the first one's window back
  // and ends before it reads anything.
  qlc::SingleInstance instance(QDir::currentPath());
  switch (instance.Claim()) {
    case qlc::SingleInstance::Start::HandedOver:
      return 0;
    case qlc::SingleInstance::Start::NoAnswer:
      std::fprintf(stderr, "qlconvert: the copy running on %s does not answer\n",
                   qPrintable(QDir::toNativeSeparators(QDir::currentPath())));
      return 1;
    case qlc::SingleInstance::Start::First:
    case qlc::SingleInstance::Start::Unguarded:
      break;
  }

  qlc::frmMain window;
  QObject::connect(&instance, &qlc::SingleInstance::RestoreRequested, &window,
                   &qlc::frmMain::RestoreWindow);
  window.show();
  return QApplication::exec();
}
