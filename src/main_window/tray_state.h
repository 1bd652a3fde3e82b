#pragma once

#include <QMetaObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/tray_host.h"

namespace qlc {

// What the window had when it went to the tray, so that it comes back the same: the control
// with the focus (which keeps its own text, cursor and selection) and the place on the screen.
struct KeptPlace {
  bool kept = false;
  QPointer<QWidget> focus;
  QPoint position;
};

// What the main window keeps of the tray between handlers.
struct TrayState {
  explicit TrayState(QWidget *window = nullptr) : window(window) {}
  ~TrayState();
  TrayState(const TrayState &) = delete;
  TrayState &operator=(const TrayState &) = delete;

  QWidget *window;
  std::unique_ptr<TrayHost> host;
  // Set when the icon was removed while the program goes on ("&Unload QLCNVT"), so that
  // an answer other than "Unload Program" can put it back.
  bool iconDeleted = false;
  QMetaObject::Connection hook;      // the icon's actions to WindowProc
  QMetaObject::Connection lateHook;  // hooks on the first action of a late-starting host
  bool prompting = false;            // a close prompt is open
  KeptPlace place;                   // while the window is hidden to the tray
};

}  // namespace qlc
