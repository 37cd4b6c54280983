#pragma once

#include <windows.h>

#include <exception>
#include <string_view>

namespace quillon {

// Registers a window class of this program once; later calls find it registered.
void RegisterWindowClass(const WNDCLASSEXW& windowClass);

// Tells an error that escaped a message handler, which must not leave the window procedure.
void ReportEscapedError(HWND window, std::string_view what) noexcept;

// The object that handles a window's messages: its pointer is the window's user data, set from
// the creation parameter or later with BindWindow. Exceptions stop at the window procedure.
template <typename Owner>
LRESULT CALLBACK OwnedWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (create->lpCreateParams != nullptr) ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (owner == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  try {
    return owner->HandleMessage(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    ReportEscapedError(window, error.what());
  } catch (...) {
    ReportEscapedError(window, "unknown error");
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

template <typename Owner>
void BindWindow(HWND window, Owner* owner) noexcept {
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
}

inline HINSTANCE ProgramInstance() noexcept { return ::GetModuleHandleW(nullptr); }

}  // namespace quillon
