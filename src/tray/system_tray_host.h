#pragma once

#include <memory>

#include "platform/tray_host.h"

namespace qlc {

// The tray host of a new main window: the one a test put into CurrentServices(), else the
// system's own, on QSystemTrayIcon.
std::unique_ptr<TrayHost> MakeTrayHost();

}  // namespace qlc
