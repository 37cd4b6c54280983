#include "win32window/ui_fonts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cwchar>
#include <stdexcept>
#include <string>

#include "win32window/dpi_scale.h"

namespace quillon {
namespace {

UniqueFont Created(const LOGFONTW& description) {
  UniqueFont font(::CreateFontIndirectW(&description));
  if (!font) throw std::runtime_error("cannot create a font");
  return font;
}

LOGFONTW DescriptionOf(HFONT font) {
  LOGFONTW description{};
  if (::GetObjectW(font, sizeof description, &description) == 0) throw std::runtime_error("cannot read a font's description");
  return description;
}

int TextWidth(HDC dc, std::wstring_view text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

UniqueFont MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi)) {
    // Systems before Windows 10 know only their own resolution.
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
      throw std::runtime_error("cannot read the system's message font");
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(::GetDpiForSystem()));
  }
  return Created(metrics.lfMessageFont);
}

UniqueFont ScaledFont(HFONT font, double scale) {
  LOGFONTW description = DescriptionOf(font);
  const double height = std::round(description.lfHeight * scale);
  description.lfHeight = static_cast<LONG>(height == 0 ? (description.lfHeight < 0 ? -1 : 1) : height);
  description.lfWidth = 0;
  return Created(description);
}

UniqueFont FixedPitchFont(int points, UINT dpi) {
  LOGFONTW description{};
  description.lfHeight = -::MulDiv(points, static_cast<int>(dpi), 72);
  description.lfWeight = FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = CLEARTYPE_QUALITY;
  description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  const WindowDc screen(nullptr);
  // The last, with no face, lets the system pick any fixed-pitch font.
  for (const wchar_t* face : {L"Consolas", L"Courier New", L"Lucida Console", L""}) {
    std::wcsncpy(description.lfFaceName, face, LF_FACESIZE - 1);
    UniqueFont font = Created(description);
    const SelectedObject selected(screen.get(), font.get());
    std::array<wchar_t, LF_FACESIZE> faceGot{};
    ::GetTextFaceW(screen.get(), static_cast<int>(faceGot.size()), faceGot.data());
    const bool asked = *face == L'\0' || _wcsicmp(faceGot.data(), face) == 0;
    if (asked && TextWidth(screen.get(), L"i") == TextWidth(screen.get(), L"M")) return font;
  }
  return Created(description);
}

UniqueFont FontFittingCaptions(HFONT font, std::span<const HWND> buttons, UINT dpi) {
  const WindowDc screen(nullptr);
  // The radio mark and the gap after it.
  const int markWidth = ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + Scaled(6, dpi);
  const auto allFit = [&](HFONT candidate) {
    const SelectedObject selected(screen.get(), candidate);
    return std::all_of(buttons.begin(), buttons.end(), [&](HWND button) {
      RECT place{};
      ::GetClientRect(button, &place);
      std::wstring caption(static_cast<std::size_t>(::GetWindowTextLengthW(button)) + 1, L'\0');
      caption.resize(static_cast<std::size_t>(::GetWindowTextW(button, caption.data(), static_cast<int>(caption.size()))));
      return markWidth + TextWidth(screen.get(), caption) <= place.right - place.left;
    });
  };
  if (allFit(font)) return {};
  const LOGFONTW description = DescriptionOf(font);
  const int smallest = ::MulDiv(8, static_cast<int>(dpi), static_cast<int>(kLayoutDpi));
  const int height = std::abs(description.lfHeight);
  UniqueFont smaller;
  for (int size = height - 1; size >= smallest; --size) {
    smaller = ScaledFont(font, static_cast<double>(size) / height);
    if (allFit(smaller.get())) return smaller;
  }
  return smaller;
}

}  // namespace quillon
