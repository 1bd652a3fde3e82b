#pragma once

#include <cstdint>

class QMenu;
class QWidget;

namespace qlc {

// What the tray's window procedure asks of the window that owns the icon.
class TrayWindow {
 public:
  // Shows the window again, as it was before it went to the tray.
  virtual void RestoreWindow() = 0;
  // The icon's menu, opened on a right click where the host does not open it itself.
  virtual QMenu *TrayMenu() const = 0;

 protected:
  ~TrayWindow() = default;
};

// A window procedure: the handler of one window's messages.
using WndProc = std::intptr_t (*)(QWidget *hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                                  std::intptr_t lParam);

// The procedure the tray hook stands in front of; null while the window is not hooked.
extern WndProc PrevWndProc;

// The close prompt's answer, read and reset by the main window's close path.
inline constexpr int kNoAnswer = 0;  // the prompt was closed by its close box
inline constexpr int kUnloadProgram = 1;
inline constexpr int kCancelClose = 2;
inline constexpr int kMinimiseToTray = 3;
extern int DialogChoice;

// The main window's procedure while hooked: acts on the tray's callback message and passes
// every other message on to PrevWndProc.
std::intptr_t WindowProc(QWidget *hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                         std::intptr_t lParam);

// Hands a message to a given procedure; 0 when there is none.
std::intptr_t CallWindowProc(WndProc proc, QWidget *hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                             std::intptr_t lParam);

// The window's own handling of the messages it is sent; the toolkit handles all of them
// before they get here, so nothing is left to do.
std::intptr_t DefWindowProc(QWidget *hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                            std::intptr_t lParam);

}  // namespace qlc
