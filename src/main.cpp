#include <QApplication>

#include "main_window/frm_main.h"

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  // Tray hosts that speak StatusNotifierItem list the icon under the application name.
  // Unlike the display name, it is not added to the window captions.
  QApplication::setApplicationName(QStringLiteral("Quellor Unit Converter"));
  // Lets desktops match the window with its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.quellor.qlconvert"));
  // The window hides to the tray; only "Unload Program" ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  qlc::frmMain window;
  window.Show();
  return QApplication::exec();
}
