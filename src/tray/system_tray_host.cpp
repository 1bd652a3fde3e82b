#include "tray/system_tray_host.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

#include "platform/services.h"

namespace qlc {

namespace {

class SystemTrayHost final : public TrayHost {
 public:
  SystemTrayHost()
      : icon_(new QSystemTrayIcon(this)),
        // Qt looks for a StatusNotifierItem host once, when the first icon is made; without
        // one it can show an icon only in an X11 tray (XEmbed). Elsewhere (Wayland) such an
        // icon can never show, and asking for it only makes Qt connect to a signal only X11
        // has.
        canShow_(QGuiApplication::platformName() == QLatin1String("xcb") ||
                 QSystemTrayIcon::isSystemTrayAvailable()) {
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { emit Activated(Click(reason)); });
  }

  // Asked each time: a host may start or stop while the program runs.
  bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
  void SetIcon(const QIcon &icon) override { icon_->setIcon(icon); }
  void SetToolTip(const QString &tip) override { icon_->setToolTip(tip); }
  void SetMenu(QMenu *menu) override { icon_->setContextMenu(menu); }
  void ShowIcon() override {
    if (canShow_) icon_->show();
  }
  void HideIcon() override { icon_->hide(); }
  bool IconRequested() const override { return icon_->isVisible(); }

 private:
  static TrayClick Click(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
      case QSystemTrayIcon::Trigger:
        return TrayClick::Left;
      case QSystemTrayIcon::DoubleClick:
        return TrayClick::Double;
      case QSystemTrayIcon::Context:
        return TrayClick::Right;
      case QSystemTrayIcon::MiddleClick:
        return TrayClick::Middle;
      case QSystemTrayIcon::Unknown:
        break;
    }
    return TrayClick::Other;
  }

  QSystemTrayIcon *icon_;
  bool canShow_;
};

}  // namespace

std::unique_ptr<TrayHost> MakeTrayHost() {
  if (TrayHosts *hosts = CurrentServices().trayHosts) return hosts->MakeTrayHost();
  return std::make_unique<SystemTrayHost>();
}

}  // namespace qlc
