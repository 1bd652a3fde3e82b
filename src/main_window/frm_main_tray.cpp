// The window's tray side: the icon, hiding to the tray and coming back, the close prompt.

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "dialogs/dialog.h"
#include "main_window/first_frame.h"
#include "main_window/frm_main.h"
#include "main_window/tray_state.h"
#include "tray/system_tray_host.h"
#include "tray/systray.h"
#include "tray/winproc.h"

namespace qlc {

namespace {

void SendToWindowProc(TrayClick click) {
  WindowProc(TrayIconData.hWnd, TrayIconData.uCallbackMessage, TrayIconData.uID, MouseCode(click));
}

// Under Wayland a program can neither place its window nor take it out of the minimised state.
bool OnWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
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
    tray_->host = MakeTrayHost();
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
    tray_->lateHook =
        connect(tray_->host.get(), &TrayHost::Activated, this, [this](TrayClick click) {
          HookWindow();
          SendToWindowProc(click);
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
  // Under Wayland the compositor never tells a client that it minimised its window, and a
  // client cannot take it out of that state; a window that is hidden and shown again is a new
  // one, which the compositor shows. So a window of ours that is not the active one, and may
  // be minimised, is mapped anew; not while a dialog of ours is open over it.
  if (OnWayland() && isVisible() && QApplication::activeWindow() == nullptr &&
      QApplication::activeModalWidget() == nullptr)
    HideToTray();
  // A window hidden to the tray by HideToTray is in its normal state already. One the window
  // manager minimised before Form_Resize hid it, or one minimised without a tray, is taken out
  // of that state here: its hints never asked for iconic, and the window manager dropped the
  // iconic state when the window was withdrawn, so this maps a normal window.
  setWindowState(windowState() & ~Qt::WindowMinimized);
  if (isHidden()) ShowAsKept();
  raise();
  activateWindow();
}

void frmMain::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void frmMain::Form_Resize() {
  // Minimised by the window manager (its title bar, a task bar, a pager): hidden, but only
  // while the tray icon can bring the window back.
  if (!(windowState() & Qt::WindowMinimized)) return;
  // A window minimised before its first frame is not painted until it is restored: the
  // tray icon, added after that frame, is needed now.
  if (afterFirstFrame_ != nullptr) afterFirstFrame_->Run();
  if (TrayIconShown())
    QTimer::singleShot(0, this, [this] {
      if (windowState() & Qt::WindowMinimized) HideToTray();
    });
}

void frmMain::MinimiseWindow() {
  // With the icon shown the window goes to the tray in its normal state. Minimised first, it
  // would be hidden while the window manager iconifies it, and under X11 it would keep
  // "iconic" in its hints: the window manager then takes the restored window back as
  // iconic and Form_Resize hides it again.
  if (TrayIconShown())
    HideToTray();
  else
    setWindowState(windowState() | Qt::WindowMinimized);
}

void frmMain::HideToTray() {
  // The focus must be kept here: the window's activation that the X server sends when a menu
  // or the close prompt lets go of the keyboard can arrive after the window is hidden, and Qt
  // then moves the focus of the hidden window on to the next control.
  tray_->place = {.kept = true, .focus = focusWidget(), .position = geometry().topLeft()};
  hide();
}

void frmMain::ShowAsKept() {
  const KeptPlace kept = std::exchange(tray_->place, {});
  // Window managers place a window anew each time it is mapped unless it asks for a place.
  if (kept.kept && !OnWayland() && windowHandle() != nullptr)
    windowHandle()->setPosition(kept.position);
  show();
  if (!kept.focus.isNull()) kept.focus->setFocus();
}

void frmMain::closeEvent(QCloseEvent *event) {
  event->setAccepted(unloading_ || !Form_Unload());
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
  if (isHidden() && !TrayIconShown()) ShowAsKept();
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
