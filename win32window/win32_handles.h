#pragma once

#include <windows.h>

#include <utility>

namespace quillon {

// Owns one handle of a kind that `Release` gives back to the system; null means none.
template <typename Handle, auto Release>
class UniqueWin32 {
 public:
  UniqueWin32() noexcept = default;
  explicit UniqueWin32(Handle handle) noexcept : handle_(handle) {}
  UniqueWin32(UniqueWin32&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueWin32& operator=(UniqueWin32&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueWin32(const UniqueWin32&) = delete;
  UniqueWin32& operator=(const UniqueWin32&) = delete;
  ~UniqueWin32() { reset(); }

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void reset(Handle handle = nullptr) noexcept {
    if (handle_ != nullptr) Release(handle_);
    handle_ = handle;
  }
  // Gives the handle up to whoever now owns it.
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

namespace win32_release {
inline void Gdi(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void Kernel(HANDLE handle) noexcept { ::CloseHandle(handle); }
inline void MemoryDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void Menu(HMENU menu) noexcept { ::DestroyMenu(menu); }
inline void Global(HGLOBAL memory) noexcept { ::GlobalFree(memory); }
inline void Window(HWND window) noexcept { ::DestroyWindow(window); }
inline void Icon(HICON icon) noexcept { ::DestroyIcon(icon); }
}  // namespace win32_release

using UniqueFont = UniqueWin32<HFONT, win32_release::Gdi>;
using UniqueBitmap = UniqueWin32<HBITMAP, win32_release::Gdi>;
using UniqueBrush = UniqueWin32<HBRUSH, win32_release::Gdi>;
using UniquePen = UniqueWin32<HPEN, win32_release::Gdi>;
using UniqueKernelHandle = UniqueWin32<HANDLE, win32_release::Kernel>;
using UniqueMemoryDc = UniqueWin32<HDC, win32_release::MemoryDc>;
using UniqueMenu = UniqueWin32<HMENU, win32_release::Menu>;
using UniqueGlobal = UniqueWin32<HGLOBAL, win32_release::Global>;
using UniqueWindow = UniqueWin32<HWND, win32_release::Window>;
using UniqueIcon = UniqueWin32<HICON, win32_release::Icon>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { ::EndPaint(window_, &paint_); }
  [[nodiscard]] HDC get() const noexcept { return dc_; }
  [[nodiscard]] const RECT& area() const noexcept { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced comes back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace quillon
