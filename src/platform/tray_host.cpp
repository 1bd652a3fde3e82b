#include "platform/tray_host.h"

namespace qlc {

SystemTrayHost::SystemTrayHost(QObject *parent)
    : TrayHost(parent), icon_(new QSystemTrayIcon(this)) {
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
  icon_->show();
}

void SystemTrayHost::HideIcon() {
  icon_->hide();
}

bool SystemTrayHost::IconRequested() const {
  return icon_->isVisible();
}

}  // namespace qlc
