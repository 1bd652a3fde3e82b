#include "platform/tray_host.h"

#include <QGuiApplication>

namespace qlc {

SystemTrayHost::SystemTrayHost(QObject *parent)
    : TrayHost(parent),
      icon_(new QSystemTrayIcon(this)),
      // Qt looks for a StatusNotifierItem host once, when the first icon is made; without one
      // it can show an icon only in an X11 tray (XEmbed). Elsewhere (Wayland) such an icon can
      // never show, and asking for it only makes Qt connect to a signal only X11 has.
      canShow_(QGuiApplication::platformName() == QLatin1String("xcb") ||
               QSystemTrayIcon::isSystemTrayAvailable()) {
  connect(icon_, &QSystemTrayIcon::activated, this, &TrayHost::Activated);
}

bool SystemTrayHost::Available() const {
  // Asked each time: a host may start or stop while the program runs.
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayHost::SetIcon(const QIcon &icon) {
  icon_->setIcon(icon);
}

void SystemTrayHost::SetToolTip(const QString &tip) {
  icon_->setToolTip(tip);
}

void SystemTrayHost::SetMenu(QMenu *menu) {
  icon_->setContextMenu(menu);
}

void SystemTrayHost::ShowIcon() {
  if (canShow_) icon_->show();
}

void SystemTrayHost::HideIcon() {
  icon_->hide();
}

bool SystemTrayHost::IconRequested() const {
  return icon_->isVisible();
}

}  // namespace qlc
