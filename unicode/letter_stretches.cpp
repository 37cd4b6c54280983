#include "unicode/letter_stretches.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "unicode/utf8_decode.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillon::unicode {

namespace {

template <unsigned char FirstLead, unsigned char LastLead, int Length>
struct Letters {
  static constexpr int kFirstLead = FirstLead;
  static constexpr int kLastLead = LastLead;
  static constexpr int kLength = Length;
  static bool IsLead(unsigned char byte) noexcept { return byte >= FirstLead && byte <= LastLead; }
};

using LatinLetters = Letters<kFirstLatinLead, kLastLatinLead, 2>;
using Ideographs = Letters<kFirstIdeographLead, kLastIdeographLead, 3>;

#if defined(__x86_64__)

namespace sse2 {

struct Vec {
  using Bytes = __m128i;
  static constexpr std::size_t kWidth = 16;
  static constexpr std::uint32_t kAllBits = 0xFFFF;

  static Bytes Zero() noexcept { return _mm_setzero_si128(); }
  static Bytes Splat(int byte) noexcept { return _mm_set1_epi8(static_cast<char>(byte)); }
  static Bytes And(Bytes a, Bytes b) noexcept { return _mm_and_si128(a, b); }
  static Bytes AndNot(Bytes a, Bytes b) noexcept { return _mm_andnot_si128(a, b); }
  static Bytes Or(Bytes a, Bytes b) noexcept { return _mm_or_si128(a, b); }
  static Bytes Xor(Bytes a, Bytes b) noexcept { return _mm_xor_si128(a, b); }
  static Bytes Greater(Bytes a, Bytes b) noexcept { return _mm_cmpgt_epi8(a, b); }  // signed
  static std::uint32_t HighBits(Bytes a) noexcept { return static_cast<std::uint32_t>(_mm_movemask_epi8(a)); }

  static Bytes Load(const char* at) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
  static void Store(char* at, Bytes bytes) noexcept { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), bytes); }

  // Bytes shifted towards the end by N, the first N coming from the last of `before`.
  template <int N>
  static Bytes FromBefore(Bytes chunk, Bytes before) noexcept {
    return _mm_or_si128(_mm_slli_si128(chunk, N), _mm_srli_si128(before, 16 - N));
  }

  // Bytes shifted towards the start by N, the last N coming from the first of `after`.
  template <int N>
  static Bytes FromAfter(Bytes chunk, Bytes after) noexcept {
    return _mm_or_si128(_mm_srli_si128(chunk, N), _mm_slli_si128(after, 16 - N));
  }
};

#include "unicode/letter_stretch_steps.inc"

}  // namespace sse2

// Everything defined from here to the pop below is built for AVX2.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace avx2 {

struct Vec {
  using Bytes = __m256i;
  static constexpr std::size_t kWidth = 32;
  static constexpr std::uint32_t kAllBits = 0xFFFFFFFF;

  static Bytes Zero() noexcept { return _mm256_setzero_si256(); }
  static Bytes Splat(int byte) noexcept { return _mm256_set1_epi8(static_cast<char>(byte)); }
  static Bytes And(Bytes a, Bytes b) noexcept { return _mm256_and_si256(a, b); }
  static Bytes AndNot(Bytes a, Bytes b) noexcept { return _mm256_andnot_si256(a, b); }
  static Bytes Or(Bytes a, Bytes b) noexcept { return _mm256_or_si256(a, b); }
  static Bytes Xor(Bytes a, Bytes b) noexcept { return _mm256_xor_si256(a, b); }
  static Bytes Greater(Bytes a, Bytes b) noexcept { return _mm256_cmpgt_epi8(a, b); }  // signed
  static std::uint32_t HighBits(Bytes a) noexcept { return static_cast<std::uint32_t>(_mm256_movemask_epi8(a)); }

  static Bytes Load(const char* at) noexcept { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
  static void Store(char* at, Bytes bytes) noexcept { _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), bytes); }

  // As above; the shifts work within each 16-byte lane, so the lane before each is lined up
  // beside it first.
  template <int N>
  static Bytes FromBefore(Bytes chunk, Bytes before) noexcept {
    return _mm256_alignr_epi8(chunk, _mm256_permute2x128_si256(before, chunk, 0x21), 16 - N);
  }

  template <int N>
  static Bytes FromAfter(Bytes chunk, Bytes after) noexcept {
    return _mm256_alignr_epi8(_mm256_permute2x128_si256(chunk, after, 0x21), chunk, N);
  }
};

#include "unicode/letter_stretch_steps.inc"

}  // namespace avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

bool HasAvx2() noexcept {
  __builtin_cpu_init();  // it may not have run yet while the statics are set up
  return __builtin_cpu_supports("avx2");
}

const bool kHasAvx2 = HasAvx2();

#endif

}  // namespace

namespace detail {

std::size_t LetterStretchEnd16(LetterKind kind, std::span<const char> text, std::size_t from) noexcept {
#if defined(__x86_64__)
  return sse2::StretchEndOf(kind, text, from);
#else
  (void)kind;
  (void)text;
  return from;
#endif
}

void MirrorLetters16(LetterKind kind, std::span<char> stretch) noexcept {
#if defined(__x86_64__)
  sse2::MirrorOf(kind, stretch);
#else
  const auto mirror = [&]<typename Kind>(Kind) {
    constexpr int kLast = Kind::kLength - 1;
    char* at = stretch.data();
    char* const end = at + stretch.size();
    while (at < end) {
      if (Kind::IsLead(static_cast<unsigned char>(*at)) && end - at > kLast) {
        std::swap(at[0], at[kLast]);
        at += Kind::kLength;
      } else {
        ++at;
      }
    }
  };
  if (kind == LetterKind::Latin)
    mirror(LatinLetters{});
  else
    mirror(Ideographs{});
#endif
}

}  // namespace detail

std::size_t LetterStretchEnd(LetterKind kind, std::span<const char> text, std::size_t from) noexcept {
#if defined(__x86_64__)
  if (kHasAvx2) return avx2::StretchEndOf(kind, text, from);
#endif
  return detail::LetterStretchEnd16(kind, text, from);
}

void MirrorLetters(LetterKind kind, std::span<char> stretch) noexcept {
#if defined(__x86_64__)
  if (kHasAvx2) {
    avx2::MirrorOf(kind, stretch);
    return;
  }
#endif
  detail::MirrorLetters16(kind, stretch);
}

}  // namespace quillon::unicode
