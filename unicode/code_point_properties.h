#pragma once

#include <cstddef>
#include <cstdint>

namespace quillon::unicode {

// The Grapheme_Cluster_Break values of Unicode 15.0, as the generated table stores them.
enum class GraphemeBreak : std::uint8_t {
  Other = 0,
  CR,
  LF,
  Control,
  Extend,
  ZWJ,
  RegionalIndicator,
  Prepend,
  SpacingMark,
  L,
  V,
  T,
  LV,
  LVT,
};
inline constexpr int kGraphemeBreakCount = 14;

// One byte per code point: the break value in the low four bits, flags above.
namespace property_bits {
inline constexpr std::uint8_t kBreakMask = 0x0F;
inline constexpr std::uint8_t kExtendedPictographic = 0x10;
inline constexpr std::uint8_t kWide = 0x20;  // East_Asian_Width W or F
inline constexpr std::uint8_t kLetterOrNumber = 0x40;  // General_Category L* or N*
inline constexpr std::uint8_t kMark = 0x80;  // General_Category M*
}  // namespace property_bits

inline constexpr char32_t kMaxCodePoint = 0x10FFFF;
inline constexpr unsigned kPropertyBlockShift = 7;  // code points per block: 128

namespace detail {
// Generated at build time from the Unicode 15.0 data files.
extern const std::uint16_t kPropertyBlockOf[];  // block index for code point >> kPropertyBlockShift
extern const std::uint8_t kPropertyBlocks[];    // the distinct blocks, one byte per code point
}  // namespace detail

// The property byte of a code point; code points above U+10FFFF read as plain Other.
inline std::uint8_t PropertiesOf(char32_t codePoint) noexcept {
  if (codePoint > kMaxCodePoint) return 0;
  constexpr char32_t kLowMask = (char32_t{1} << kPropertyBlockShift) - 1;
  const std::size_t block = detail::kPropertyBlockOf[codePoint >> kPropertyBlockShift];
  return detail::kPropertyBlocks[(block << kPropertyBlockShift) | (codePoint & kLowMask)];
}

inline GraphemeBreak BreakOf(std::uint8_t properties) noexcept {
  return static_cast<GraphemeBreak>(properties & property_bits::kBreakMask);
}

}  // namespace quillon::unicode
