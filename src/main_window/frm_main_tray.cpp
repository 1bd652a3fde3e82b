#include <QApplication>
#include <QTimer>

#include "main_window/frm_main.h"
#include "main_window/tray_state.h"

namespace qlc {

// Without a tray the window stays reachable: nothing hides it.
int frmMain::ShellTrayAdd() {
  return 0;
}
void frmMain::ShellTrayDelete() {}
void frmMain::HookWindow() {}
void frmMain::UnhookWindow() {}
bool frmMain::TrayIconShown() const {
  return false;
}

void frmMain::RestoreWindow() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

bool frmMain::Form_Unload() {
  unloading_ = true;
  QTimer::singleShot(0, qApp, &QApplication::quit);
  return false;
}

void frmMain::mFile_Click(int index) {
  if (index == 0) RestoreWindow();
  if (index == 1) close();
}

}  // namespace qlc
