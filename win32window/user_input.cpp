#include "win32window/user_input.h"

namespace quillon {
namespace {

bool IsInputMessage(const MSG& message) noexcept {
  if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4) return false;
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) return true;
  if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) return true;
  switch (message.message) {
    case WM_CONTEXTMENU:
    case WM_POINTERDOWN:
    case WM_POINTERUP:
    case WM_POINTERUPDATE:
    case WM_TOUCH:
    case WM_IME_CHAR:
    case WM_IME_KEYDOWN:
    case WM_IME_KEYUP:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsUserInputTo(const MSG& message, HWND window) noexcept {
  if (!IsInputMessage(message) || message.hwnd == nullptr) return false;
  if (message.hwnd == window || ::IsChild(window, message.hwnd)) return true;
  return ::GetAncestor(message.hwnd, GA_ROOTOWNER) == window;
}

}  // namespace quillon
