#pragma once

namespace qlc {

// What the main window keeps of the tray between handlers.
struct TrayState {};

}  // namespace qlc
