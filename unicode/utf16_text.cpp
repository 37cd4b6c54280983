#include "unicode/utf16_text.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "unicode/utf16_vectors.h"
#include "unicode/utf8_decode.h"

namespace quillon::unicode {

namespace {

constexpr char kLittleEndianMark[] = {'\xFF', '\xFE'};
constexpr char kBigEndianMark[] = {'\xFE', '\xFF'};

template <bool Little>
inline std::uint16_t UnitAt(const char* at) noexcept {
  const auto a = static_cast<std::uint8_t>(at[0]);
  const auto b = static_cast<std::uint8_t>(at[1]);
  return Little ? static_cast<std::uint16_t>(a | b << 8) : static_cast<std::uint16_t>(a << 8 | b);
}

inline std::uint16_t UnitAt(const char* at, Utf16Order order) noexcept {
  return order == Utf16Order::LittleEndian ? UnitAt<true>(at) : UnitAt<false>(at);
}

template <bool Little>
inline void PutUnitAs(std::uint16_t unit, char*& out) noexcept {
  out[Little ? 0 : 1] = static_cast<char>(unit & 0xFFu);
  out[Little ? 1 : 0] = static_cast<char>(unit >> 8);
  out += 2;
}

template <bool Little>
inline void PutCodePointAs(char32_t codePoint, char*& out) noexcept {
  if (codePoint < 0x10000) {
    PutUnitAs<Little>(static_cast<std::uint16_t>(codePoint), out);
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  PutUnitAs<Little>(static_cast<std::uint16_t>(0xD800 + (offset >> 10)), out);
  PutUnitAs<Little>(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)), out);
}

inline void PutCodePoint(char32_t codePoint, char*& out, Utf16Order order) noexcept {
  if (order == Utf16Order::LittleEndian) {
    PutCodePointAs<true>(codePoint, out);
  } else {
    PutCodePointAs<false>(codePoint, out);
  }
}

// The code point of a high and a low surrogate.
inline char32_t CodePointOfPair(char32_t high, char32_t low) noexcept { return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00); }

inline bool IsSurrogate(char32_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDFFF; }

// The UTF-8 of a code point that is no surrogate.
inline void PutUtf8(char32_t codePoint, char*& out) noexcept {
  if (codePoint < 0x80) {
    *out++ = static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out[0] = static_cast<char>(0xC0 | codePoint >> 6);
    out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out += 2;
  } else if (codePoint < 0x10000) {
    out[0] = static_cast<char>(0xE0 | codePoint >> 12);
    out[1] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out += 3;
  } else {
    out[0] = static_cast<char>(0xF0 | codePoint >> 18);
    out[1] = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    out += 4;
  }
}

// The length of the UTF-8 sequence that `lead` begins; 1 for a byte that begins none.
inline std::size_t SequenceLength(char lead) noexcept {
  const auto byte = static_cast<std::uint8_t>(lead);
  if (byte >= 0xC2 && byte <= 0xDF) return 2;
  if (byte >= 0xE0 && byte <= 0xEF) return 3;
  if (byte >= 0xF0 && byte <= 0xF4) return 4;
  return 1;
}

// The UTF-8 of a unit that is no surrogate, in the low bytes of a word, chosen without a
// branch: text that mixes ASCII with accented letters or with CJK at random would mispredict
// most branches on the length.
inline std::uint32_t Utf8Word(std::uint32_t unit, std::size_t& length) noexcept {
  const std::uint32_t two = (0xC0u | unit >> 6) | (0x80u | (unit & 0x3Fu)) << 8;
  const std::uint32_t three = (0xE0u | unit >> 12) | (0x80u | (unit >> 6 & 0x3Fu)) << 8 | (0x80u | (unit & 0x3Fu)) << 16;
  const std::uint32_t atLeastTwo = 0u - static_cast<std::uint32_t>(unit >= 0x80);
  const std::uint32_t isThree = 0u - static_cast<std::uint32_t>(unit >= 0x800);
  length = 1 + (atLeastTwo & 1u) + (isThree & 1u);
  // Masks rather than a conditional, which compilers turn into the branches this avoids.
  return (unit & ~atLeastTwo) | (two & atLeastTwo & ~isThree) | (three & isThree);
}

// Turns the units at `at` into UTF-8 up to a surrogate it leaves to the caller or the last whole unit; returns
// where it stopped. Kept apart from the converter's members, which the writes through `out`
// would otherwise make the compiler load again for every unit.
template <bool Little>
const char* NarrowUnits(const char* at, const char* end, char*& out) noexcept {
  char* o = out;
  while (end - at >= 2) {
    const char* const tried = at;
    at = detail::NarrowUnitsVector(at, end, o, Little);
    // The units the vectors leave, eight at least before they are tried again, or thirty-two
    // when they took nothing, as in text full of emoji, whose surrogates they leave.
    const std::ptrdiff_t stretch = at == tried ? 64 : 16;
    const char* const stretchEnd = end - at >= stretch ? at + stretch : end - (end - at) % 2;
    while (at < stretchEnd) {
      const std::uint16_t unit = UnitAt<Little>(at);
      if (IsSurrogate(unit)) {
        // A pair whole in the stretch is taken here; anything else is the caller's.
        const std::uint16_t low = stretchEnd - at >= 4 ? UnitAt<Little>(at + 2) : 0;
        if (unit >= 0xDC00 || low < 0xDC00 || low > 0xDFFF) {
          out = o;
          return at;
        }
        PutUtf8(CodePointOfPair(unit, low), o);
        at += 4;
        continue;
      }
      std::size_t length = 0;
      const std::uint32_t word = Utf8Word(unit, length);
      o[0] = static_cast<char>(word);
      o[1] = static_cast<char>(word >> 8);
      o[2] = static_cast<char>(word >> 16);
      o += length;
      at += 2;
    }
  }
  out = o;
  return at;
}

// Turns the one sequence at `at` into a unit or a surrogate pair, a byte that begins no
// well-formed sequence into U+FFFD; returns where it ends, or `at` for one cut off at the end.
template <bool Little>
const char* WidenOneSequence(const char* at, const char* end, char*& o) noexcept {
  const auto left = static_cast<std::size_t>(end - at);
  if (left < SequenceLength(*at)) return at;
  const DecodedCodePoint decoded = DecodeUtf8({at, left}, 0);
  PutCodePointAs<Little>(decoded.codePoint, o);
  return at + decoded.length;
}

// Turns the UTF-8 at `at` into units up to a sequence cut off at the end; returns where it
// stopped.
template <bool Little>
const char* WidenSequences(const char* at, const char* end, char*& out) noexcept {
  char* o = out;
  while (at < end) {
#if defined(__SSE2__)
    // Sixteen ASCII bytes at a time, each widened to a unit.
    while (end - at >= 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
      if (_mm_movemask_epi8(bytes) != 0) break;
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), Little ? _mm_unpacklo_epi8(bytes, zero) : _mm_unpacklo_epi8(zero, bytes));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), Little ? _mm_unpackhi_epi8(bytes, zero) : _mm_unpackhi_epi8(zero, bytes));
      o += 32;
      at += 16;
    }
#endif
    const char* const tried = at;
    at = detail::WidenSequencesVector(at, end, o, Little);
    if (at == end) break;
    // What the vectors left, some bytes on before they are tried again: more when they took
    // nothing, as in text full of emoji, which they leave.
    const char* const resume = at + std::min<std::ptrdiff_t>(end - at, at == tried ? 64 : 12);
    while (at < resume) {
      const char* const next = WidenOneSequence<Little>(at, end, o);
      if (next == at) {
        out = o;
        return at;
      }
      at = next;
    }
  }
  out = o;
  return at;
}

}  // namespace

std::optional<Utf16Order> Utf16OrderOfMark(std::span<const char> start) noexcept {
  if (start.size() < kUtf16MarkLength) return std::nullopt;
  if (std::memcmp(start.data(), kLittleEndianMark, 2) == 0) return Utf16Order::LittleEndian;
  if (std::memcmp(start.data(), kBigEndianMark, 2) == 0) return Utf16Order::BigEndian;
  return std::nullopt;
}

std::int64_t Utf8LengthOfUnits(std::span<const char> units, Utf16Order order) noexcept {
  std::int64_t length = 0;
  const char* at = detail::CountUtf8OfUnitsVector(units.data(), units.data() + units.size(), length, order == Utf16Order::LittleEndian);
  for (const char* const end = units.data() + units.size(); end - at >= 2; at += 2) {
    const std::uint16_t unit = UnitAt(at, order);
    length += unit < 0x80 ? 1 : (unit < 0x800 || IsSurrogate(unit) ? 2 : 3);
  }
  return length;
}

bool Utf16ToUtf8::Unit(std::uint16_t unit, char*& out) noexcept {
  const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
  if (highSurrogate_ != 0) {
    if (!low) {
      failed_ = true;
      return false;
    }
    PutUtf8(CodePointOfPair(highSurrogate_, unit), out);
    highSurrogate_ = 0;
    return true;
  }
  if (low) {
    failed_ = true;
    return false;
  }
  if (IsSurrogate(unit)) {
    highSurrogate_ = unit;
    return true;
  }
  PutUtf8(unit, out);
  return true;
}

std::size_t Utf16ToUtf8::Feed(std::span<const char> chunk, char* out) noexcept {
  char* const start = out;
  const char* at = chunk.data();
  const char* const end = at + chunk.size();
  if (failed_ || at == end) return 0;
  if (hasOddByte_) {
    hasOddByte_ = false;
    const char unit[2] = {oddByte_, *at++};
    if (!Unit(UnitAt(unit, order_), out)) return static_cast<std::size_t>(out - start);
  }
  while (end - at >= 2) {
    if (highSurrogate_ == 0) {
      at = order_ == Utf16Order::LittleEndian ? NarrowUnits<true>(at, end, out) : NarrowUnits<false>(at, end, out);
      if (end - at < 2) break;
    }
    if (!Unit(UnitAt(at, order_), out)) return static_cast<std::size_t>(out - start);
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
  at = order_ == Utf16Order::LittleEndian ? WidenSequences<true>(at, end, out) : WidenSequences<false>(at, end, out);
  pendingLength_ = static_cast<std::size_t>(end - at);
  if (pendingLength_ > 0) std::memcpy(pending_, at, pendingLength_);
  return static_cast<std::size_t>(out - start);
}

}  // namespace quillon::unicode
