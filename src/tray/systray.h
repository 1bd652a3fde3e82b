#pragma once

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "platform/tray_host.h"

namespace qlc {

// The tray record: filled once by the main window when it adds its icon and used again
// unchanged to remove it.
struct NotifyIconData {
  QPointer<QWidget> hWnd;              // the window that owns the icon and gets its messages
  std::uint32_t uID = 0;               // the icon's number among the window's icons
  std::uint32_t uCallbackMessage = 0;  // the message that reports the icon's mouse actions
  QIcon hIcon;
  QString szTip;
};

inline constexpr std::uint32_t kTrayIconId = 125;
// The first message number free for a program's own use (WM_USER, 0x400), plus one.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x400 + 1;
inline constexpr char kTrayTip[] = "Quellor Unit Converter";

// Commands of NotifyIcon.
inline constexpr int kNotifyAdd = 0;
inline constexpr int kNotifyDelete = 2;

// Mouse codes the icon's callback message carries.
inline constexpr std::intptr_t kMouseMove = 512;
inline constexpr std::intptr_t kLeftButtonUp = 514;
inline constexpr std::intptr_t kLeftButtonDoubleClick = 515;
inline constexpr std::intptr_t kRightButtonUp = 517;
inline constexpr std::intptr_t kMiddleButtonUp = 520;

extern NotifyIconData TrayIconData;

// Adds (kNotifyAdd) or removes (kNotifyDelete) the icon the record describes. Returns 1
// when the icon is in a tray host (added) or gone (removed), 0 otherwise; an added icon
// that found no host stays asked for and shows when a host starts.
int NotifyIcon(TrayHost *host, int command, const NotifyIconData &data);

// The callback code for what the host reports. The hosts report a left click on the press
// and a right click after opening the menu; both count as the button's release.
std::intptr_t MouseCode(TrayClick click);

}  // namespace qlc
