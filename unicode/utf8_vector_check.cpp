#include "unicode/utf8_vector_check.h"

#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillon::unicode::detail {

#if defined(__x86_64__)

namespace {

// What may be wrong with a pair of neighbouring bytes, one bit a kind; a pair is bad when
// all three lookups (the first byte's high and low nibble, the second's high nibble) agree
// on a kind.
constexpr std::uint8_t kTooShort = 1 << 0;   // a lead or ASCII byte, then a lead byte
constexpr std::uint8_t kTooLong = 1 << 1;    // ASCII, then a continuation byte
constexpr std::uint8_t kOverlong3 = 1 << 2;  // E0 then 80..9F
constexpr std::uint8_t kTooLarge = 1 << 3;   // F4 then 90..BF, or F5..FF
constexpr std::uint8_t kSurrogate = 1 << 4;  // ED then A0..BF
constexpr std::uint8_t kOverlong2 = 1 << 5;  // C0 or C1
constexpr std::uint8_t kTooLarge1000 = 1 << 6;  // F5..FF then 80..8F
constexpr std::uint8_t kOverlong4 = 1 << 6;     // F0 then 80..8F
constexpr std::uint8_t kTwoContinuations = 1 << 7;
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoContinuations;

__attribute__((target("avx2"))) inline __m256i Table(std::uint8_t (&&values)[16]) {
  const __m128i lane = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values));
  return _mm256_broadcastsi128_si256(lane);
}

__attribute__((target("avx2"))) inline __m256i HighNibbles(__m256i bytes) {
  return _mm256_and_si256(_mm256_srli_epi16(bytes, 4), _mm256_set1_epi8(0x0F));
}

// The bytes of `input` moved `N` places later, the first ones taken from the end of `previous`.
template <int N>
__attribute__((target("avx2"))) inline __m256i Earlier(__m256i input, __m256i previous) {
  return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(previous, input, 0x21), 16 - N);
}

}  // namespace

__attribute__((target("avx2"))) const char* CheckUtf8VectorsAvx2(const char* begin, const char* end) noexcept {
  const __m256i firstHigh = Table({kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                                   kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations,
                                   kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                                   kTooShort | kTooLarge | kTooLarge1000 | kOverlong4});
  const __m256i firstLow = Table({kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
                                  kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                                  kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                                  kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                                  kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                                  kCarry | kTooLarge | kTooLarge1000 | kSurrogate, kCarry | kTooLarge | kTooLarge1000,
                                  kCarry | kTooLarge | kTooLarge1000});
  constexpr std::uint8_t kAfterContinuation8 = kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4;
  constexpr std::uint8_t kAfterContinuation9 = kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge;
  constexpr std::uint8_t kAfterContinuationAB = kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge;
  const __m256i secondHigh = Table({kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                                    kAfterContinuation8, kAfterContinuation9, kAfterContinuationAB, kAfterContinuationAB,
                                    kTooShort, kTooShort, kTooShort, kTooShort});
  const __m256i lowNibble = _mm256_set1_epi8(0x0F);

  __m256i previous = _mm256_setzero_si256();  // as if ASCII came before
  __m256i errors = _mm256_setzero_si256();
  const char* at = begin;
  for (; end - at >= 32; at += 32) {
    const __m256i input = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    if (_mm256_movemask_epi8(_mm256_or_si256(input, previous)) == 0) {
      previous = input;  // ASCII after ASCII: nothing to check
      continue;
    }
    const __m256i before1 = Earlier<1>(input, previous);
    const __m256i special = _mm256_and_si256(
        _mm256_and_si256(_mm256_shuffle_epi8(firstHigh, HighNibbles(before1)),
                         _mm256_shuffle_epi8(firstLow, _mm256_and_si256(before1, lowNibble))),
        _mm256_shuffle_epi8(secondHigh, HighNibbles(input)));
    // The third and fourth bytes of a sequence must be continuations, and only they may be
    // where the pair check saw two continuations.
    const __m256i third = _mm256_subs_epu8(Earlier<2>(input, previous), _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const __m256i fourth = _mm256_subs_epu8(Earlier<3>(input, previous), _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const __m256i mustContinue = _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    errors = _mm256_or_si256(errors, _mm256_xor_si256(mustContinue, special));
    previous = input;
  }
  if (!_mm256_testz_si256(errors, errors)) return nullptr;
  // A sequence that the last vector began may go on past it: the check goes on from its lead.
  for (const char* lead = at - 1; lead >= begin && lead >= at - 3; --lead) {
    const auto byte = static_cast<std::uint8_t>(*lead);
    if (byte >= 0xC0) return lead;
    if (byte < 0x80) break;
  }
  return at;
}

const char* CheckUtf8Vectors(const char* begin, const char* end) noexcept {
  static const bool hasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  if (!hasAvx2 || end - begin < 64) return begin;
  return CheckUtf8VectorsAvx2(begin, end);
}

#else

const char* CheckUtf8Vectors(const char* begin, const char* /*end*/) noexcept { return begin; }

#endif

}  // namespace quillon::unicode::detail
