#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

// The vector compares that find line breaks, shared by the engine's line scans and the result
// view's line index.

// Where the CRs and the LFs are in 64 bytes: bit i stands for byte i.
struct BreakMasks {
  std::uint64_t cr;
  std::uint64_t lf;
};

#if defined(__SSE2__)
// Bit i set where at[i] is a CR or an LF, for the 16 bytes from `at`.
inline std::uint32_t BreakMask16(const char* at) noexcept {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
  return static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
}
#endif

// Reads exactly 64 bytes from `at`. Inline: it is the whole of the line index's inner loop.
inline BreakMasks LoadBreakMasks(const char* at) noexcept {
  BreakMasks masks{0, 0};
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    masks.cr |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)))) << (16 * part);
    masks.lf |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)))) << (16 * part);
  }
#else
  for (int i = 0; i < 64; ++i) {
    masks.cr |= static_cast<std::uint64_t>(at[i] == '\r') << i;
    masks.lf |= static_cast<std::uint64_t>(at[i] == '\n') << i;
  }
#endif
  return masks;
}

// Whether any of the `Bytes` bytes at `at` is a CR or an LF: cheaper than the masks.
template <int Bytes>
inline bool AnyBreakIn(const char* at) noexcept {
  static_assert(Bytes % 16 == 0);
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  __m128i hits = _mm_setzero_si128();
  for (int part = 0; part < Bytes / 16; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    hits = _mm_or_si128(hits, _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
  }
  return _mm_movemask_epi8(hits) != 0;
#else
  for (int i = 0; i < Bytes; ++i)
    if (at[i] == '\r' || at[i] == '\n') return true;
  return false;
#endif
}

// The bytes that start a line break: every CR, and every LF that does not follow a CR (the LF
// of a CR LF belongs to the break its CR started). `crBeforeFirst` tells whether the byte
// before the 64 is a CR.
constexpr std::uint64_t BreakStarts(BreakMasks masks, bool crBeforeFirst) noexcept {
  const std::uint64_t crBefore = masks.cr << 1 | static_cast<std::uint64_t>(crBeforeFirst);
  return masks.cr | (masks.lf & ~crBefore);
}

// The number of set bits: inline, as the processors the program is built for need not have
// the instruction, and a call per 64 bytes costs more than the arithmetic.
constexpr int CountBits(std::uint64_t bits) noexcept {
#if defined(__POPCNT__)
  return __builtin_popcountll(bits);
#else
  bits -= (bits >> 1) & 0x5555555555555555ull;
  bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<int>((bits * 0x0101010101010101ull) >> 56);
#endif
}

// The length of the longest run of set bits in `bits`.
constexpr int LongestRunOfOnes(std::uint64_t bits) noexcept {
  int length = 0;
  for (; bits != 0; bits &= bits >> 1) ++length;
  return length;
}

}  // namespace quillon
