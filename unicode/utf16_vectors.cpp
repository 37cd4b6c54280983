#include "unicode/utf16_vectors.h"

#include <array>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillon::unicode::detail {

#if defined(__x86_64__)

namespace {

// For four units, each widened to a 32-bit lane holding its UTF-8 in its low bytes: the
// shuffle that packs those bytes together. Indexed by two bits a unit, one for "two bytes or
// more" (bits 0 to 3) and one for "three bytes" (bits 4 to 7).
struct PackShuffle {
  std::array<std::uint8_t, 16> order{};
  std::uint8_t length = 0;
};

constexpr std::array<PackShuffle, 256> MakePackShuffles() {
  std::array<PackShuffle, 256> shuffles{};
  for (unsigned index = 0; index < 256; ++index) {
    PackShuffle& shuffle = shuffles[index];
    shuffle.order.fill(0x80);
    std::uint8_t length = 0;
    for (unsigned unit = 0; unit < 4; ++unit) {
      const unsigned bytes = 1 + (index >> unit & 1u) + (index >> (unit + 4) & 1u);
      for (unsigned byte = 0; byte < bytes; ++byte) shuffle.order[length++] = static_cast<std::uint8_t>(unit * 4 + byte);
    }
    shuffle.length = length;
  }
  return shuffles;
}

constexpr std::array<PackShuffle, 256> kPackShuffles = MakePackShuffles();

// Four units in 32-bit lanes, none a surrogate, turned into their UTF-8 at `out`; returns the
// bytes written (16 are stored).
__attribute__((target("ssse3"))) inline unsigned NarrowFour(__m128i units, char* out) {
  const __m128i low6 = _mm_set1_epi32(0x3F);
  const __m128i continuation = _mm_set1_epi32(0x80);
  const __m128i lastByte = _mm_or_si128(_mm_and_si128(units, low6), continuation);
  const __m128i middleByte = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(units, 6), low6), continuation);
  const __m128i two = _mm_or_si128(_mm_or_si128(_mm_srli_epi32(units, 6), _mm_set1_epi32(0xC0)), _mm_slli_epi32(lastByte, 8));
  const __m128i three = _mm_or_si128(_mm_or_si128(_mm_srli_epi32(units, 12), _mm_set1_epi32(0xE0)),
                                     _mm_or_si128(_mm_slli_epi32(middleByte, 8), _mm_slli_epi32(lastByte, 16)));
  const __m128i atLeastTwo = _mm_cmpgt_epi32(units, _mm_set1_epi32(0x7F));
  const __m128i isThree = _mm_cmpgt_epi32(units, _mm_set1_epi32(0x7FF));
  const __m128i words = _mm_or_si128(_mm_andnot_si128(atLeastTwo, units),
                                     _mm_or_si128(_mm_and_si128(_mm_andnot_si128(isThree, atLeastTwo), two), _mm_and_si128(isThree, three)));
  const unsigned index = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(atLeastTwo))) |
                         static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(isThree))) << 4;
  const PackShuffle& shuffle = kPackShuffles[index];
  const __m128i order = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shuffle.order.data()));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(words, order));
  return shuffle.length;
}

__attribute__((target("ssse3"))) const char* NarrowUnitsSsse3(const char* at, const char* end, char*& out, bool little) noexcept {
  char* o = out;
  const __m128i zero = _mm_setzero_si128();
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(little ? 0xFF80 : 0x80FF));
  // Sixteen ASCII units at a time first: most text has long stretches.
  while (end - at >= 32) {
    __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(_mm_or_si128(first, second), nonAscii), zero)) != 0xFFFF) break;
    if (!little) {
      first = _mm_srli_epi16(first, 8);
      second = _mm_srli_epi16(second, 8);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(first, second));
    o += 16;
    at += 32;
  }
  while (end - at >= 16) {
    __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    if (!little) units = _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8));
    const __m128i topFive = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xF800)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(topFive, _mm_set1_epi16(static_cast<short>(0xD800)))) != 0) break;
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80))), zero)) == 0xFFFF) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(units, units));
      o += 8;
    } else {
      o += NarrowFour(_mm_unpacklo_epi16(units, zero), o);
      o += NarrowFour(_mm_unpackhi_epi16(units, zero), o);
    }
    at += 16;
  }
  out = o;
  return at;
}

// For eight positions of 16-bit values, those where a sequence starts (bits set), packed
// together in either byte order.
struct StartShuffle {
  std::array<std::uint8_t, 16> order{};
  std::uint8_t bytes = 0;  // two a start: counted here, as not every processor counts bits
};

constexpr std::array<StartShuffle, 256> MakeStartShuffles(bool little) {
  std::array<StartShuffle, 256> shuffles{};
  for (unsigned starts = 0; starts < 256; ++starts) {
    StartShuffle& shuffle = shuffles[starts];
    shuffle.order.fill(0x80);
    unsigned taken = 0;
    for (unsigned position = 0; position < 8; ++position) {
      if ((starts >> position & 1u) == 0) continue;
      shuffle.order[taken * 2] = static_cast<std::uint8_t>(position * 2 + (little ? 0 : 1));
      shuffle.order[taken * 2 + 1] = static_cast<std::uint8_t>(position * 2 + (little ? 1 : 0));
      ++taken;
    }
    shuffle.bytes = static_cast<std::uint8_t>(taken * 2);
  }
  return shuffles;
}

constexpr std::array<StartShuffle, 256> kLittleStartShuffles = MakeStartShuffles(true);
constexpr std::array<StartShuffle, 256> kBigStartShuffles = MakeStartShuffles(false);

// A mask of the bytes that are `bound` or above.
__attribute__((target("ssse3"))) inline unsigned AtLeast(__m128i bytes, std::uint8_t bound) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(bytes, _mm_set1_epi8(static_cast<char>(bound))), bytes)));
}

__attribute__((target("ssse3"))) inline unsigned Equal(__m128i bytes, std::uint8_t value) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(value)))));
}

// Each step takes the sequences that start in the next eight bytes; they may reach two bytes
// further. Every byte's value is worked out as if a sequence started there, and the starts
// are then packed together.
__attribute__((target("ssse3"))) const char* WidenSequencesSsse3(const char* at, const char* end, char*& out, bool little) noexcept {
  char* o = out;
  const std::array<StartShuffle, 256>& shuffles = little ? kLittleStartShuffles : kBigStartShuffles;
  const __m128i zero = _mm_setzero_si128();
  while (end - at >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i nextBytes = _mm_srli_si128(bytes, 1);
    const unsigned continuations = Equal(_mm_and_si128(bytes, _mm_set1_epi8(static_cast<char>(0xC0))), 0x80);
    // Leads counted up to byte 8: a sequence starting there is the next step's, but its
    // continuation byte lies in the part checked.
    const unsigned leads = AtLeast(bytes, 0xC0) & 0x1FFu;
    const unsigned threeLeads = AtLeast(bytes, 0xE0) & 0x1FFu;
    const unsigned nextBelowA0 = ~AtLeast(nextBytes, 0xA0);
    const unsigned malformed = AtLeast(bytes, 0xF0) | Equal(bytes, 0xC0) | Equal(bytes, 0xC1) | (Equal(bytes, 0xE0) & nextBelowA0) |
                               (Equal(bytes, 0xED) & ~nextBelowA0);
    if ((malformed & 0xFFu) != 0 || (continuations & 0x3FFu) != ((leads << 1 | threeLeads << 2) & 0x3FFu)) break;

    const __m128i first = _mm_unpacklo_epi8(bytes, zero);
    const __m128i second = _mm_unpacklo_epi8(nextBytes, zero);
    const __m128i third = _mm_unpacklo_epi8(_mm_srli_si128(bytes, 2), zero);
    const __m128i low6 = _mm_set1_epi16(0x3F);
    const __m128i two = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(first, _mm_set1_epi16(0x1F)), 6), _mm_and_si128(second, low6));
    const __m128i three = _mm_or_si128(_mm_slli_epi16(first, 12),
                                       _mm_or_si128(_mm_slli_epi16(_mm_and_si128(second, low6), 6), _mm_and_si128(third, low6)));
    const __m128i isLead = _mm_cmpgt_epi16(first, _mm_set1_epi16(0xBF));
    const __m128i isThree = _mm_cmpgt_epi16(first, _mm_set1_epi16(0xDF));
    const __m128i units = _mm_or_si128(_mm_andnot_si128(isLead, first),
                                       _mm_or_si128(_mm_and_si128(_mm_andnot_si128(isThree, isLead), two), _mm_and_si128(isThree, three)));
    const unsigned starts = ~continuations & 0xFFu;
    const StartShuffle& shuffle = shuffles[starts];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_shuffle_epi8(units, _mm_loadu_si128(reinterpret_cast<const __m128i*>(shuffle.order.data()))));
    o += shuffle.bytes;
    // Past the continuation bytes of the last sequence, which the check above has matched.
    const unsigned reach = continuations >> 8 & 3u;
    at += 8 + (reach & 1u) + (reach == 3u ? 1u : 0u);
  }
  out = o;
  return at;
}

bool HasSsse3() noexcept {
  static const bool hasSsse3 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") != 0;
  }();
  return hasSsse3;
}

}  // namespace

const char* NarrowUnitsVector(const char* at, const char* end, char*& out, bool little) noexcept {
  if (!HasSsse3()) return at;
  return NarrowUnitsSsse3(at, end, out, little);
}

const char* CountUtf8OfUnitsVector(const char* at, const char* end, std::int64_t& length, bool little) noexcept {
  const __m128i zero = _mm_setzero_si128();
  while (end - at >= 16) {
    // Three bytes a unit, one less below U+0800 and for a surrogate, one less again for ASCII:
    // each lane counts at most 3 x 8192 before it is added up.
    __m128i lanes = zero;
    for (int step = 0; step < 8192 && end - at >= 16; ++step, at += 16) {
      __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
      if (!little) units = _mm_or_si128(_mm_slli_epi16(units, 8), _mm_srli_epi16(units, 8));
      const __m128i topFive = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xF800)));
      const __m128i belowU0800 = _mm_cmpeq_epi16(topFive, zero);
      const __m128i surrogate = _mm_cmpeq_epi16(topFive, _mm_set1_epi16(static_cast<short>(0xD800)));
      const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80))), zero);
      lanes = _mm_add_epi16(lanes, _mm_add_epi16(_mm_set1_epi16(3), _mm_add_epi16(_mm_add_epi16(belowU0800, surrogate), ascii)));
    }
    alignas(16) std::uint32_t sums[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(sums), _mm_madd_epi16(lanes, _mm_set1_epi16(1)));
    length += static_cast<std::int64_t>(sums[0]) + sums[1] + sums[2] + sums[3];
  }
  return at;
}

const char* WidenSequencesVector(const char* at, const char* end, char*& out, bool little) noexcept {
  if (!HasSsse3()) return at;
  return WidenSequencesSsse3(at, end, out, little);
}

#else

const char* NarrowUnitsVector(const char* at, const char* /*end*/, char*& /*out*/, bool /*little*/) noexcept { return at; }

const char* WidenSequencesVector(const char* at, const char* /*end*/, char*& /*out*/, bool /*little*/) noexcept { return at; }

const char* CountUtf8OfUnitsVector(const char* at, const char* /*end*/, std::int64_t& /*length*/, bool /*little*/) noexcept { return at; }

#endif

}  // namespace quillon::unicode::detail
