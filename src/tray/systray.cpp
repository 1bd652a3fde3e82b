#include "tray/systray.h"

#include "platform/tray_host.h"

namespace qlc {

NotifyIconData TrayIconData;

int NotifyIcon(TrayHost *host, int command, const NotifyIconData &data) {
  if (host == nullptr) return 0;
  switch (command) {
    case kNotifyAdd:
      host->SetIcon(data.hIcon);
      host->SetToolTip(data.szTip);
      host->ShowIcon();
      return host->Available() && host->IconRequested() ? 1 : 0;
    case kNotifyDelete:
      host->HideIcon();
      return 1;
    default:
      return 0;
  }
}

std::intptr_t MouseCode(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return kLeftButtonUp;
    case QSystemTrayIcon::DoubleClick:
      return kLeftButtonDoubleClick;
    case QSystemTrayIcon::Context:
      return kRightButtonUp;
    case QSystemTrayIcon::MiddleClick:
      return kMiddleButtonUp;
    case QSystemTrayIcon::Unknown:
      break;
  }
  return kMouseMove;
}

}  // namespace qlc
