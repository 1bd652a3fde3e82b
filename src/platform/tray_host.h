#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;

namespace qlc {

// A mouse action on the icon, as the host reports it.
enum class TrayClick { Left, Double, Right, Middle, Other };

// The desktop's status area as the tray code sees it: one icon that can be shown and
// hidden and that reports mouse actions. The system's own sits on QSystemTrayIcon, which
// needs Qt Widgets: it is in tray/ (MakeTrayHost), above the widgets layer.
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
  void Activated(qlc::TrayClick click);
};

}  // namespace qlc
