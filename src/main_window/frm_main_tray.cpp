#include <QApplication>
#include <QTimer>

#include "dialogs/dialog.h"
#include "main_window/frm_main.h"
#include "main_window/tray_state.h"
#include "platform/services.h"
#include "tray/systray.h"
#include "tray/winproc.h"

namespace qlc {

namespace {

void SendToWindowProc(QSystemTrayIcon::ActivationReason reason) {
  WindowProc(TrayIconData.hWnd, TrayIconData.uCallbackMessage, TrayIconData.uID, MouseCode(reason));
}

}  // namespace

TrayState::~TrayState() {
  // The record and the hook must not outlive the window they point at.
  if (hook) PrevWndProc = nullptr;
  if (window != nullptr && TrayIconData.hWnd == window) TrayIconData = NotifyIconData();
}

int frmMain::ShellTrayAdd() {
  if (!tray_->host) {
    tray_->window = this;
    tray_->host = CurrentServices().trayHosts->MakeTrayHost();
    tray_->host->SetMenu(zmnuSysTrayDemo);
  }
  TrayIconData.hWnd = this;
  TrayIconData.uID = kTrayIconId;
  TrayIconData.uCallbackMessage = kTrayCallbackMessage;
  TrayIconData.hIcon = windowIcon();
  TrayIconData.szTip = QString::fromLatin1(kTrayTip);
  const int result = NotifyIcon(tray_->host.get(), kNotifyAdd, TrayIconData);
  tray_->iconDeleted = false;
  // With no host yet the icon waits for one; its first action then hooks the window, as
  // start-up would have done had the host been there.
  if (result != 1 && !tray_->hook && !tray_->lateHook) {
    tray_->lateHook = connect(tray_->host.get(), &TrayHost::Activated, this,
                              [this](QSystemTrayIcon::ActivationReason reason) {
                                HookWindow();
                                SendToWindowProc(reason);
                              });
  }
  return result;
}

void frmMain::ShellTrayDelete() {
  NotifyIcon(tray_->host.get(), kNotifyDelete, TrayIconData);
  tray_->iconDeleted = true;
}

void frmMain::HookWindow() {
  if (!tray_->host || tray_->hook) return;
  disconnect(tray_->lateHook);
  tray_->lateHook = {};
  PrevWndProc = DefWindowProc;
  tray_->hook = connect(tray_->host.get(), &TrayHost::Activated, this, &SendToWindowProc);
}

void frmMain::UnhookWindow() {
  if (PrevWndProc == nullptr) return;
  disconnect(tray_->hook);
  tray_->hook = {};
  PrevWndProc = nullptr;
}

bool frmMain::TrayIconShown() const {
  return tray_->host && tray_->host->Available() && tray_->host->IconRequested();
}

void frmMain::RestoreWindow() {
  // A window hidden to the tray by MinimiseWindow is in its normal state already. One the
  // window manager minimised before Form_Resize hid it, or one minimised without a tray, is
  // taken out of that state here: its hints never asked for iconic, and the window manager
  // dropped the iconic state when the window was withdrawn, so this maps a normal window.
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

bool frmMain::Form_Unload() {
  // One prompt at a time: a close request while it is open (the tray menu) is refused.
  if (tray_->prompting) return true;
  tray_->prompting = true;
  {
    Dialog prompt(this);
    prompt.exec();
  }
  tray_->prompting = false;
  const int choice = DialogChoice;
  DialogChoice = kNoAnswer;

  if (choice == kUnloadProgram) {
    ShellTrayDelete();
    UnhookWindow();
    // Quitting closes every window once more; that close must not prompt again.
    unloading_ = true;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return false;
  }
  // OK, Cancel or the prompt's close box: the program goes on, so the icon must be there
  // to bring a hidden window back.
  if (tray_->iconDeleted) ShellTrayAdd();
  if (isHidden() && !TrayIconShown()) show();
  if (choice == kMinimiseToTray) MinimiseWindow();
  return true;
}

void frmMain::mFile_Click(int index) {
  if (index == 0) {
    RestoreWindow();
  } else if (index == 1) {
    ShellTrayDelete();
    // Queued, like a posted close: the menu finishes before the prompt opens.
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
  }
}

}  // namespace qlc
