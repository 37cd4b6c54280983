#include "unicode/utf16_text.h"

#include <cstring>

#include "unicode/utf8_decode.h"

namespace quillon::unicode {

namespace {

constexpr char kLittleEndianMark[] = {'\xFF', '\xFE'};
constexpr char kBigEndianMark[] = {'\xFE', '\xFF'};

// The high bits that are all clear in four code units of ASCII, loaded as one little-endian
// word: the high byte of each unit and the top bit of its low byte.
constexpr std::uint64_t kNonAsciiUnitsLittle = 0xFF80FF80FF80FF80ull;
constexpr std::uint64_t kNonAsciiUnitsBig = 0x80FF80FF80FF80FFull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint16_t UnitOf(char first, char second, Utf16Order order) noexcept {
  const auto a = static_cast<std::uint8_t>(first);
  const auto b = static_cast<std::uint8_t>(second);
  return order == Utf16Order::LittleEndian ? static_cast<std::uint16_t>(a | b << 8) : static_cast<std::uint16_t>(a << 8 | b);
}

inline void PutUnit(std::uint16_t unit, char*& out, Utf16Order order) noexcept {
  const auto high = static_cast<char>(unit >> 8);
  const auto low = static_cast<char>(unit & 0xFFu);
  if (order == Utf16Order::LittleEndian) {
    out[0] = low;
    out[1] = high;
  } else {
    out[0] = high;
    out[1] = low;
  }
  out += 2;
}

inline void PutCodePoint(char32_t codePoint, char*& out, Utf16Order order) noexcept {
  if (codePoint < 0x10000) {
    PutUnit(static_cast<std::uint16_t>(codePoint), out, order);
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  PutUnit(static_cast<std::uint16_t>(0xD800 + (offset >> 10)), out, order);
  PutUnit(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)), out, order);
}

// The length of the UTF-8 sequence that `lead` begins; 1 for a byte that begins none.
inline std::size_t SequenceLength(char lead) noexcept {
  const auto byte = static_cast<std::uint8_t>(lead);
  if (byte >= 0xC2 && byte <= 0xDF) return 2;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF4) return 4;
  return 1;
}

}  // namespace

std::optional<Utf16Order> Utf16OrderOfMark(std::span<const char> start) noexcept {
  if (start.size() < kUtf16MarkLength) return std::nullopt;
  if (std::memcmp(start.data(), kLittleEndianMark, 2) == 0) return Utf16Order::LittleEndian;
  if (std::memcmp(start.data(), kBigEndianMark, 2) == 0) return Utf16Order::BigEndian;
  return std::nullopt;
}

std::span<const char> Utf16Mark(Utf16Order order) noexcept {
  return order == Utf16Order::LittleEndian ? std::span<const char>(kLittleEndianMark) : std::span<const char>(kBigEndianMark);
}

bool Utf16ToUtf8::Unit(std::uint16_t unit, char*& out) noexcept {
  if (highSurrogate_ != 0) {
    if (unit < 0xDC00 || unit > 0xDFFF) {
      failed_ = true;
      return false;
    }
    const char32_t codePoint = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00u);
    highSurrogate_ = 0;
    out[0] = static_cast<char>(0xF0 | codePoint >> 18);
    out[1] = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out += 4;
    return true;
  }
  if (unit < 0x80) {
    *out++ = static_cast<char>(unit);
    return true;
  }
  nonAscii_ = true;
  if (unit < 0x800) {
    out[0] = static_cast<char>(0xC0 | unit >> 6);
    out[1] = static_cast<char>(0x80 | (unit & 0x3F));
    out += 2;
    return true;
  }
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    highSurrogate_ = unit;
    return true;
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF) {
    failed_ = true;
    return false;
  }
  out[0] = static_cast<char>(0xE0 | unit >> 12);
  out[1] = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
  out[2] = static_cast<char>(0x80 | (unit & 0x3F));
  out += 3;
  return true;
}

std::size_t Utf16ToUtf8::Feed(std::span<const char> chunk, char* out) noexcept {
  char* const start = out;
  const char* at = chunk.data();
  const char* const end = at + chunk.size();
  if (failed_ || at == end) return 0;
  if (hasOddByte_) {
    hasOddByte_ = false;
    if (!Unit(UnitOf(oddByte_, *at++, order_), out)) return static_cast<std::size_t>(out - start);
  }
  const bool little = order_ == Utf16Order::LittleEndian;
  const std::uint64_t nonAsciiMask = little ? kNonAsciiUnitsLittle : kNonAsciiUnitsBig;
  const int shift = little ? 0 : 8;
  while (end - at >= 2) {
    // Four ASCII units at a time: most text on either side of the world has long stretches.
    while (highSurrogate_ == 0 && end - at >= 8) {
      std::uint64_t word;
      std::memcpy(&word, at, sizeof word);
      if ((word & nonAsciiMask) != 0) break;
      word >>= shift;
      out[0] = static_cast<char>(word);
      out[1] = static_cast<char>(word >> 16);
      out[2] = static_cast<char>(word >> 32);
      out[3] = static_cast<char>(word >> 48);
      out += 4;
      at += 8;
    }
    if (end - at < 2) break;
    if (!Unit(UnitOf(at[0], at[1], order_), out)) return static_cast<std::size_t>(out - start);
    at += 2;
  }
  if (at < end) {
    hasOddByte_ = true;
    oddByte_ = *at;
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t Utf8ToUtf16::Feed(std::span<const char> chunk, char* out) noexcept {
  char* const start = out;
  const char* at = chunk.data();
  const char* const end = at + chunk.size();
  if (pendingLength_ > 0) {
    // The sequence left open, with enough of this chunk to finish it.
    char joined[8];
    std::memcpy(joined, pending_, pendingLength_);
    const std::size_t taken = std::min<std::size_t>(3, chunk.size());
    std::memcpy(joined + pendingLength_, at, taken);
    const std::size_t joinedLength = pendingLength_ + taken;
    std::size_t position = 0;
    while (position < pendingLength_) {
      if (joinedLength - position < SequenceLength(joined[position]) && taken == chunk.size()) {
        pendingLength_ = joinedLength - position;
        std::memmove(pending_, joined + position, pendingLength_);
        return static_cast<std::size_t>(out - start);
      }
      const DecodedCodePoint decoded = DecodeUtf8({joined, joinedLength}, position);
      PutCodePoint(decoded.codePoint, out, order_);
      position += decoded.length;
    }
    at += position - pendingLength_;
    pendingLength_ = 0;
  }
  while (at < end) {
    while (end - at >= 8) {
      std::uint64_t word;
      std::memcpy(&word, at, sizeof word);
      if ((word & kHighBits) != 0) break;
      for (int i = 0; i < 8; ++i) PutUnit(static_cast<std::uint8_t>(at[i]), out, order_);
      at += 8;
    }
    if (at == end) break;
    if (static_cast<std::uint8_t>(*at) < 0x80) {
      PutUnit(static_cast<std::uint8_t>(*at++), out, order_);
      continue;
    }
    const auto left = static_cast<std::size_t>(end - at);
    if (left < SequenceLength(*at)) {
      std::memcpy(pending_, at, left);
      pendingLength_ = left;
      break;
    }
    const DecodedCodePoint decoded = DecodeUtf8({at, left}, 0);
    PutCodePoint(decoded.codePoint, out, order_);
    at += decoded.length;
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t Utf8ToUtf16::Finish(char* out) noexcept {
  char* const start = out;
  for (std::size_t i = 0; i < pendingLength_; ++i) PutCodePoint(kReplacementCharacter, out, order_);
  pendingLength_ = 0;
  return static_cast<std::size_t>(out - start);
}

}  // namespace quillon::unicode
