#include <QApplication>
#include <QDir>
#include <cstdio>

#include "main_window/frm_main.h"
#include "platform/single_instance.h"
#include "widgets/design.h"
#include "widgets/message_box.h"

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
    case qlc::SingleInstance::Start::NoAnswer: {
      const QString folder = QDir::toNativeSeparators(QDir::currentPath());
      std::fprintf(stderr, "qlconvert: the copy running on %s does not answer\n",
                   qPrintable(folder));
      // Started from a menu there is no terminal to read the line above.
      QApplication::setWindowIcon(qlc::Picture("icon"));
      qlc::ShowMessage(nullptr, QMessageBox::Warning,
                       QStringLiteral("The Quellor Unit Converter already running on %1 does not "
                                      "answer, so this start ends. Close or end the running copy, "
                                      "then start the converter again.")
                           .arg(folder));
      return 1;
    }
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
