#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "unicode/utf8_decode.h"

namespace quillon::unicode {

// The emoji clusters text is mostly made of, told by their bytes without the property table:
// a pictograph with emoji presentation or skin tones after it, pictographs joined by ZWJ, and
// flags. The ranges below are those of Unicode 15.0 in which every code point is
// Extended_Pictographic with the break value Other.

namespace detail {

inline std::uint8_t ByteOf(std::span<const char> text, std::size_t at) noexcept {
  return static_cast<std::uint8_t>(text[at]);
}

// The code point of U+1F000 to U+1FFFF whose four bytes start at `at`, or 0.
inline char32_t SupplementaryPictographAt(std::span<const char> text, std::size_t at) noexcept {
  if (text.size() - at < 4 || ByteOf(text, at) != 0xF0 || ByteOf(text, at + 1) != 0x9F) return 0;
  if (!IsContinuationByte(text[at + 2]) || !IsContinuationByte(text[at + 3])) return 0;
  const std::uint8_t third = ByteOf(text, at + 2);
  const std::uint8_t fourth = ByteOf(text, at + 3);
  return 0x1F000 | static_cast<char32_t>(third & 0x3Fu) << 6 | static_cast<char32_t>(fourth & 0x3Fu);
}

inline bool IsSurePictograph(char32_t c) noexcept {
  return (c >= 0x1F300 && c <= 0x1F3FA) || (c >= 0x1F400 && c <= 0x1F53D) || (c >= 0x1F546 && c <= 0x1F64F) ||
         (c >= 0x1F680 && c <= 0x1F6FF) || (c >= 0x1F90C && c <= 0x1F9FF && c != 0x1F93B && c != 0x1F946) ||
         (c >= 0x1FA00 && c <= 0x1FAFF);
}

// The length of the pictograph at `at`, or 0: one of the ranges above, or U+2764 HEAVY BLACK HEART.
inline std::size_t PictographLengthAt(std::span<const char> text, std::size_t at) noexcept {
  if (IsSurePictograph(SupplementaryPictographAt(text, at))) return 4;
  if (text.size() - at >= 3 && ByteOf(text, at) == 0xE2 && ByteOf(text, at + 1) == 0x9D && ByteOf(text, at + 2) == 0xA4)
    return 3;
  return 0;
}

// The length of U+FE0F or a skin tone (U+1F3FB to U+1F3FF) at `at`, both Extend, or 0.
inline std::size_t PresentationOrToneLengthAt(std::span<const char> text, std::size_t at) noexcept {
  if (text.size() - at >= 3 && ByteOf(text, at) == 0xEF && ByteOf(text, at + 1) == 0xB8 && ByteOf(text, at + 2) == 0x8F)
    return 3;
  const char32_t c = SupplementaryPictographAt(text, at);
  return c >= 0x1F3FB && c <= 0x1F3FF ? 4 : 0;
}

inline bool IsZwjAt(std::span<const char> text, std::size_t at) noexcept {
  return text.size() - at >= 3 && ByteOf(text, at) == 0xE2 && ByteOf(text, at + 1) == 0x80 && ByteOf(text, at + 2) == 0x8D;
}

inline bool IsRegionalIndicatorAt(std::span<const char> text, std::size_t at) noexcept {
  const char32_t c = SupplementaryPictographAt(text, at);
  return c >= 0x1F1E6 && c <= 0x1F1FF;
}

inline bool EndsOrAscii(std::span<const char> text, std::size_t at) noexcept {
  return at == text.size() || ByteOf(text, at) < 0x80;
}

}  // namespace detail

// The end of the emoji cluster of one of the shapes above that starts at `at`, a cluster
// boundary after ASCII, a letter or the text's start, where ASCII or the text's end follows
// it; `at` when there is none, for the cluster walk to take.
[[gnu::always_inline]] inline std::size_t CommonEmojiClusterEnd(std::span<const char> text, std::size_t at) noexcept {
  using namespace detail;
  if (IsRegionalIndicatorAt(text, at)) {
    // Two regional indicators make a flag; a third would start the next one.
    return IsRegionalIndicatorAt(text, at + 4) && EndsOrAscii(text, at + 8) ? at + 8 : at;
  }
  std::size_t length = PictographLengthAt(text, at);
  if (length == 0) return at;
  std::size_t end = at + length;
  for (;;) {
    if (EndsOrAscii(text, end)) return end;
    if ((length = PresentationOrToneLengthAt(text, end)) != 0) {
      end += length;
    } else if (IsZwjAt(text, end) && (length = PictographLengthAt(text, end + 3)) != 0) {
      end += 3 + length;
    } else {
      return at;
    }
  }
}

}  // namespace quillon::unicode
