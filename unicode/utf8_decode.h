#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillon::unicode {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The most continuation bytes a sequence has after its lead byte.
inline constexpr std::size_t kMostContinuationBytes = 3;

inline bool IsContinuationByte(char byte) noexcept { return (static_cast<std::uint8_t>(byte) & 0xC0u) == 0x80u; }

// The continuation bytes that `bytes` begins with, at most `limit` of them: at a place cut
// anywhere in UTF-8 text, the end of a sequence that began before it.
inline std::size_t LeadingContinuationBytes(std::span<const char> bytes, std::size_t limit) noexcept {
  std::size_t count = 0;
  while (count < bytes.size() && count < limit && IsContinuationByte(bytes[count])) ++count;
  return count;
}

struct DecodedCodePoint {
  char32_t codePoint;
  std::size_t length;  // bytes taken: 1 to 4, or 0 at or past the end
};

// Decodes the UTF-8 sequence at `offset`. A byte that does not begin a well-formed sequence
// (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut short) decodes as
// U+FFFD of length 1, so that a reader always moves on and shows each bad byte once.
inline DecodedCodePoint DecodeUtf8(std::span<const char> bytes, std::size_t offset) noexcept {
  if (offset >= bytes.size()) return {kReplacementCharacter, 0};
  const auto byteAt = [&](std::size_t index) { return static_cast<std::uint8_t>(bytes[index]); };
  const std::uint8_t lead = byteAt(offset);
  if (lead < 0x80) return {lead, 1};
  constexpr DecodedCodePoint kBad{kReplacementCharacter, 1};

  std::size_t length;
  std::uint8_t low = 0x80;  // the allowed range of the second byte rules out overlongs,
  std::uint8_t high = 0xBF;  // surrogates and code points above U+10FFFF
  char32_t codePoint;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kBad;
  }
  if (bytes.size() - offset < length) return kBad;
  const std::uint8_t second = byteAt(offset + 1);
  if (second < low || second > high) return kBad;
  codePoint = codePoint << 6 | (second & 0x3Fu);
  for (std::size_t i = 2; i < length; ++i) {
    const std::uint8_t next = byteAt(offset + i);
    if ((next & 0xC0u) != 0x80u) return kBad;
    codePoint = codePoint << 6 | (next & 0x3Fu);
  }
  return {codePoint, length};
}

}  // namespace quillon::unicode
