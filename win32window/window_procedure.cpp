#include "win32window/window_procedure.h"

#include <string>
#include <system_error>

#include "fileio/wide_text.h"
#include "window/layout.h"

namespace quillon {

void RegisterWindowClass(const WNDCLASSEXW& windowClass) {
  if (::RegisterClassExW(&windowClass) != 0) return;
  const DWORD error = ::GetLastError();
  if (error == ERROR_CLASS_ALREADY_EXISTS) return;
  throw std::system_error(static_cast<int>(error), std::system_category(), "cannot register the window class " + Narrow(windowClass.lpszClassName));
}

void ReportEscapedError(HWND window, std::string_view what) noexcept {
  try {
    ::MessageBoxW(window, Widen(what).c_str(), Widen(kApplicationName).c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    ::MessageBoxW(window, L"out of memory", L"Quillon", MB_OK | MB_ICONERROR);
  }
}

}  // namespace quillon
