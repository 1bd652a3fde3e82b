#include "tray/systray.h"

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

std::intptr_t MouseCode(TrayClick click) {
  switch (click) {
    case TrayClick::Left:
      return kLeftButtonUp;
    case TrayClick::Double:
      return kLeftButtonDoubleClick;
    case TrayClick::Right:
      return kRightButtonUp;
    case TrayClick::Middle:
      return kMiddleButtonUp;
    case TrayClick::Other:
      break;
  }
  return kMouseMove;
}

}  // namespace qlc
