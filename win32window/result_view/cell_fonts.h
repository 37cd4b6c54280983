#pragma once

#include <windows.h>

#include "win32window/win32_handles.h"

namespace quillon {

// The result box's fonts at one resolution and the grid they make: the text's fixed-pitch
// font, a smaller one for the hex digits of controls, a cell's width and a line's height.
class CellFonts {
 public:
  static constexpr int kPoints = 10;

  void SetDpi(UINT dpi);

  [[nodiscard]] HFONT Text() const noexcept { return text_.get(); }
  [[nodiscard]] HFONT Hex() const noexcept { return hex_.get(); }
  [[nodiscard]] int CellWidth() const noexcept { return cellWidth_; }
  [[nodiscard]] int LineHeight() const noexcept { return lineHeight_; }

 private:
  UniqueFont text_;
  UniqueFont hex_;
  int cellWidth_ = 1;
  int lineHeight_ = 1;
};

}  // namespace quillon
