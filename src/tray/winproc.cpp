#include "tray/winproc.h"

#include <QCursor>
#include <QMenu>

#include "tray/systray.h"

namespace qlc {

WndProc PrevWndProc = nullptr;
int DialogChoice = kNoAnswer;

std::intptr_t WindowProc(QWidget *hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                         std::intptr_t lParam) {
  auto *main = dynamic_cast<TrayWindow *>(hWnd);
  if (main == nullptr || hWnd != TrayIconData.hWnd || uMsg != kTrayCallbackMessage)
    return CallWindowProc(PrevWndProc, hWnd, uMsg, wParam, lParam);

  if (lParam == kLeftButtonUp || lParam == kLeftButtonDoubleClick) {
    main->RestoreWindow();
  } else if (lParam == kRightButtonUp) {
    // A host that opens the icon's menu itself has done so already; others get it here.
    QMenu *menu = main->TrayMenu();
    if (menu != nullptr && !menu->isVisible()) menu->popup(QCursor::pos());
  }
  return 0;
}

std::intptr_t CallWindowProc(WndProc proc, QWidget *hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  return proc != nullptr ? proc(hWnd, uMsg, wParam, lParam) : 0;
}

std::intptr_t DefWindowProc(QWidget *, std::uint32_t, std::uintptr_t, std::intptr_t) {
  return 0;
}

}  // namespace qlc
