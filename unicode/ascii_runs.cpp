#include "unicode/ascii_runs.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillon::unicode::detail {

namespace {

inline std::uint64_t Load64(const char* at) {
  std::uint64_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}


constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

const char* FindFirstNonAsciiWords(const char* begin, const char* end) noexcept {
  while (end - begin >= 8) {
    if (const std::uint64_t high = Load64(begin) & kHighBits) return begin + __builtin_ctzll(high) / 8;
    begin += 8;
  }
  while (begin < end && static_cast<unsigned char>(*begin) < 0x80) ++begin;
  return begin;
}

#if defined(__x86_64__)

const char* FindFirstNonAsciiSse2(const char* begin, const char* end) noexcept {
  while (end - begin >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
    if (const int high = _mm_movemask_epi8(bytes)) return begin + __builtin_ctz(static_cast<unsigned>(high));
    begin += 16;
  }
  return FindFirstNonAsciiWords(begin, end);
}

__attribute__((target("avx2"))) const char* FindFirstNonAsciiAvx2(const char* begin, const char* end) noexcept {
  while (end - begin >= 64) {
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(begin));
    const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(begin + 32));
    if (_mm256_movemask_epi8(_mm256_or_si256(first, second)) != 0) break;
    begin += 64;
  }
  while (end - begin >= 32) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(begin));
    if (const int high = _mm256_movemask_epi8(bytes)) return begin + __builtin_ctz(static_cast<unsigned>(high));
    begin += 32;
  }
  return FindFirstNonAsciiSse2(begin, end);
}

using NonAsciiFinder = const char* (*)(const char*, const char*) noexcept;

NonAsciiFinder ChooseNonAsciiFinder() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? FindFirstNonAsciiAvx2 : FindFirstNonAsciiSse2;
}

const NonAsciiFinder kVectorFindFirstNonAscii = ChooseNonAsciiFinder();

#endif

// Below this many bytes the plain loops win over an indirect call to the vector kernel.
constexpr std::ptrdiff_t kVectorThreshold = 64;

}  // namespace

const char* FindFirstNonAscii(const char* begin, const char* end) noexcept {
#if defined(__x86_64__)
  if (end - begin >= kVectorThreshold) return kVectorFindFirstNonAscii(begin, end);
  return FindFirstNonAsciiSse2(begin, end);
#else
  return FindFirstNonAsciiWords(begin, end);
#endif
}

}  // namespace quillon::unicode::detail
