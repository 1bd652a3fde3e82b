#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

class QMenu;

namespace qlc {

// The desktop's status area as the tray code sees it: one icon that can be shown and
// hidden and that reports mouse actions. The real one sits on QSystemTrayIcon.
class TrayHost : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // True while a tray host is running that can show the icon.
  virtual bool Available() const = 0;
  virtual void SetIcon(const QIcon &icon) = 0;
  virtual void SetToolTip(const QString &tip) = 0;
  // The menu the host opens on a right click, if it opens one itself.
  virtual void SetMenu(QMenu *menu) = 0;
  // Asks for the icon to be shown; it shows as soon as a host is there.
  virtual void ShowIcon() = 0;
  virtual void HideIcon() = 0;
  virtual bool IconRequested() const = 0;

 signals:
  void Activated(QSystemTrayIcon::ActivationReason reason);
};

class SystemTrayHost : public TrayHost {
  Q_OBJECT
 public:
  explicit SystemTrayHost(QObject *parent = nullptr);

  bool Available() const override;
  void SetIcon(const QIcon &icon) override;
  void SetToolTip(const QString &tip) override;
  void SetMenu(QMenu *menu) override;
  void ShowIcon() override;
  void HideIcon() override;
  bool IconRequested() const override;

 private:
  QSystemTrayIcon *icon_;
  bool canShow_;
};

}  // namespace qlc
