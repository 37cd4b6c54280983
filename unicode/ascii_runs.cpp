#include "unicode/ascii_runs.h"

#include <cstdint>
#include <cstring>
#include <utility>

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

inline void Store64(char* at, std::uint64_t value) { std::memcpy(at, &value, sizeof value); }

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

const char* FindFirstNonAsciiWords(const char* begin, const char* end) noexcept {
  while (end - begin >= 8) {
    if (const std::uint64_t high = Load64(begin) & kHighBits) return begin + __builtin_ctzll(high) / 8;
    begin += 8;
  }
  while (begin < end && static_cast<unsigned char>(*begin) < 0x80) ++begin;
  return begin;
}

// Eight bytes at a time, each word byte-swapped; any 64-bit processor does this quickly.
void ReverseCopyWords(const char* from, std::size_t count, char* to) noexcept {
  while (count >= 8) {
    count -= 8;
    Store64(to, __builtin_bswap64(Load64(from + count)));
    to += 8;
  }
  while (count > 0) *to++ = from[--count];
}

void ReverseBytesWords(char* begin, char* end) noexcept {
  while (end - begin >= 16) {
    const std::uint64_t front = Load64(begin);
    const std::uint64_t back = Load64(end - 8);
    Store64(begin, __builtin_bswap64(back));
    Store64(end - 8, __builtin_bswap64(front));
    begin += 8;
    end -= 8;
  }
  while (end - begin >= 2) std::swap(*begin++, *--end);
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

// Mirrors the bytes within each 16-byte lane, then swaps the lanes.
__attribute__((target("avx2"))) inline __m256i Reversed32(__m256i bytes) {
  const __m256i mirror = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,  //
                                          15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(bytes, mirror), 0x4E);
}

__attribute__((target("avx2"))) void ReverseCopyAvx2(const char* from, std::size_t count, char* to) noexcept {
  while (count >= 32) {
    count -= 32;
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + count));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), Reversed32(bytes));
    to += 32;
  }
  ReverseCopyWords(from, count, to);
}

__attribute__((target("avx2"))) void ReverseBytesAvx2(char* begin, char* end) noexcept {
  while (end - begin >= 64) {
    const __m256i front = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(begin));
    const __m256i back = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(end - 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(begin), Reversed32(back));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 32), Reversed32(front));
    begin += 32;
    end -= 32;
  }
  ReverseBytesWords(begin, end);
}

struct Kernels {
  const char* (*findFirstNonAscii)(const char*, const char*) noexcept;
  void (*reverseCopy)(const char*, std::size_t, char*) noexcept;
  void (*reverseBytes)(char*, char*) noexcept;
};

Kernels ChooseKernels() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return {FindFirstNonAsciiAvx2, ReverseCopyAvx2, ReverseBytesAvx2};
  return {FindFirstNonAsciiSse2, ReverseCopyWords, ReverseBytesWords};
}

const Kernels kKernels = ChooseKernels();

#endif

// Below this many bytes the word loops win over an indirect call to the vector kernels.
constexpr std::ptrdiff_t kVectorThreshold = 64;

}  // namespace

const char* FindFirstNonAscii(const char* begin, const char* end) noexcept {
#if defined(__x86_64__)
  if (end - begin >= kVectorThreshold) return kKernels.findFirstNonAscii(begin, end);
  return FindFirstNonAsciiSse2(begin, end);
#else
  return FindFirstNonAsciiWords(begin, end);
#endif
}

void ReverseCopy(const char* from, std::size_t count, char* to) noexcept {
#if defined(__x86_64__)
  if (static_cast<std::ptrdiff_t>(count) >= kVectorThreshold) return kKernels.reverseCopy(from, count, to);
#endif
  ReverseCopyWords(from, count, to);
}

void ReverseBytes(char* begin, char* end) noexcept {
#if defined(__x86_64__)
  if (end - begin >= kVectorThreshold) return kKernels.reverseBytes(begin, end);
#endif
  ReverseBytesWords(begin, end);
}

}  // namespace quillon::unicode::detail
