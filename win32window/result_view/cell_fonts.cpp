#include "win32window/result_view/cell_fonts.h"

#include <algorithm>

#include "win32window/ui_fonts.h"

namespace quillon {
namespace {

// The size of the hex digits in a control's box, against the text's.
constexpr double kHexSize = 0.7;

}  // namespace

void CellFonts::SetDpi(UINT dpi) {
  UniqueFont text = FixedPitchFont(kPoints, dpi);
  UniqueFont hex = ScaledFont(text.get(), kHexSize);
  const WindowDc screen(nullptr);
  const SelectedObject selected(screen.get(), text.get());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.get(), &metrics);
  SIZE m{};
  ::GetTextExtentPoint32W(screen.get(), L"M", 1, &m);
  text_ = std::move(text);
  hex_ = std::move(hex);
  cellWidth_ = std::max<int>(1, m.cx);
  lineHeight_ = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);
}

}  // namespace quillon
