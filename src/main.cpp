#include <QApplication>

#include "main_window/frm_main.h"

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("qlconvert"));
  // Lets desktops match the window with its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("example.quellor.qlconvert"));
  // The window hides to the tray; only "Unload Program" ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  qlc::frmMain window;
  window.Show();
  return QApplication::exec();
}
