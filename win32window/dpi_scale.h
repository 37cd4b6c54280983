#pragma once

#include <windows.h>

#include "window/layout.h"

namespace quillon {

// The layout is in pixels at this resolution; a monitor of another one scales it.
inline constexpr UINT kLayoutDpi = USER_DEFAULT_SCREEN_DPI;

inline int Scaled(int logical, UINT dpi) noexcept { return ::MulDiv(logical, static_cast<int>(dpi), static_cast<int>(kLayoutDpi)); }

// Edges scale on their own, so that rectangles that touch at 96 dpi still touch.
inline RECT ScaledRect(const PixelRect& rect, UINT dpi) noexcept {
  return {Scaled(rect.Left, dpi), Scaled(rect.Top, dpi), Scaled(rect.Left + rect.Width, dpi), Scaled(rect.Top + rect.Height, dpi)};
}

}  // namespace quillon
