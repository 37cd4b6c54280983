#include "fileio/byte_reverse.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quillon {

namespace {

inline std::uint64_t Load64(const char* at) {
  std::uint64_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

inline void Store64(char* at, std::uint64_t value) { std::memcpy(at, &value, sizeof value); }

inline std::uint32_t Load32(const char* at) {
  std::uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

inline void Store32(char* at, std::uint32_t value) { std::memcpy(at, &value, sizeof value); }

// Swaps eight-byte words from both ends, each byte-swapped; fast on any 64-bit processor.
// The middle that is left is reversed with two overlapping words: both are loaded before
// either is stored, and where they overlap they agree.
void ReverseWords(char* begin, char* end) noexcept {
  while (end - begin >= 16) {
    const std::uint64_t front = Load64(begin);
    const std::uint64_t back = Load64(end - 8);
    Store64(begin, __builtin_bswap64(back));
    Store64(end - 8, __builtin_bswap64(front));
    begin += 8;
    end -= 8;
  }
  ReverseUpTo16(begin, static_cast<std::size_t>(end - begin));
}

// Eight bytes at a time, each word byte-swapped.
void ReverseCopyWords(const char* from, std::size_t count, char* to) noexcept {
  while (count >= 8) {
    count -= 8;
    Store64(to, __builtin_bswap64(Load64(from + count)));
    to += 8;
  }
  while (count > 0) *to++ = from[--count];
}

#if defined(__x86_64__)

// Mirrors the bytes within each 16-byte lane, then swaps the lanes.
__attribute__((target("avx2"))) inline __m256i Reversed32(__m256i bytes) {
  const __m256i mirror = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,  //
                                          15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(bytes, mirror), 0x4E);
}

__attribute__((target("avx2"))) inline __m256i Load256(const char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

__attribute__((target("avx2"))) inline void Store256(char* at, __m256i bytes) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), bytes);
}

// Reverses 16 to 32 bytes with one vector from each end; as with the words, both are loaded
// before either is stored, and where they overlap they agree.
__attribute__((target("ssse3"))) inline void ReverseUpTo32(char* begin, char* end) noexcept {
  const __m128i mirror = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  const __m128i front = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
  const __m128i back = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(begin), _mm_shuffle_epi8(back, mirror));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), _mm_shuffle_epi8(front, mirror));
}

__attribute__((target("avx2"))) void ReverseAvx2(char* begin, char* end) noexcept {
  while (end - begin >= 64) {
    const __m256i front = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(begin));
    const __m256i back = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(end - 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(begin), Reversed32(back));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 32), Reversed32(front));
    begin += 32;
    end -= 32;
  }
  if (end - begin >= 32) {
    const __m256i front = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(begin));
    const __m256i back = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(end - 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(begin), Reversed32(back));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 32), Reversed32(front));
  } else if (end - begin >= 16) {
    ReverseUpTo32(begin, end);
  } else {
    ReverseWords(begin, end);
  }
}

// Runs in order are reversed into an image of the stretch they lie in, which is then copied
// back over it whole. Into the image, a run of up to 128 bytes is always four vectors, the 128
// bytes that end where it ends, reversed; the run after it, or the bytes between, write over
// what lies past it. So no length picks the steps, as it must when a run is reversed where it
// lies and nothing beside it may be touched; such choices were mispredicted on most lines.
__attribute__((target("avx2"))) void ReverseOrderedRunsAvx2(const ByteRun* runs, std::size_t count,
                                                             std::span<const char> readable) noexcept {
  constexpr std::size_t kImageSize = std::size_t{16} << 10;
  constexpr std::size_t kWholeRun = 128;
  constexpr std::size_t kGapCopy = 16;
  alignas(64) char image[kImageSize + kWholeRun];
  const char* const readableBegin = readable.data();
  const char* const readableEnd = readable.data() + readable.size();
  const ByteRun* run = runs;
  const ByteRun* const last = runs + count;
  while (run != last) {
    char* const stretch = run->Begin;
    const char* taken = stretch;  // the image holds [stretch, taken)
    char* out = image;
    for (; run != last; ++run) {
      char* const begin = run->Begin;
      const char* const end = begin + run->Size;
      const auto gap = static_cast<std::size_t>(begin - taken);
      if (gap > kGapCopy || run->Size > kWholeRun || static_cast<std::size_t>(end - readableBegin) < kWholeRun ||
          static_cast<std::size_t>(readableEnd - taken) < kGapCopy || static_cast<std::size_t>(out - image) + gap + kWholeRun > kImageSize)
        break;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_loadu_si128(reinterpret_cast<const __m128i*>(taken)));
      out += gap;
      const __m256i a = Load256(end - 32);
      const __m256i b = Load256(end - 64);
      const __m256i c = Load256(end - 96);
      const __m256i d = Load256(end - 128);
      Store256(out, Reversed32(a));
      Store256(out + 32, Reversed32(b));
      Store256(out + 64, Reversed32(c));
      Store256(out + 96, Reversed32(d));
      out += run->Size;
      taken = end;
    }
    std::memcpy(stretch, image, static_cast<std::size_t>(out - image));
    // A run the image could not take at the start of a stretch is reversed where it lies.
    if (run != last && run->Begin == stretch) {
      ReverseInPlace({run->Begin, run->Size});
      ++run;
    }
  }
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

__attribute__((target("ssse3"))) void ReverseSsse3(char* begin, char* end) noexcept {
  const __m128i mirror = _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  while (end - begin >= 32) {
    const __m128i front = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
    const __m128i back = _mm_loadu_si128(reinterpret_cast<const __m128i*>(end - 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(begin), _mm_shuffle_epi8(back, mirror));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), _mm_shuffle_epi8(front, mirror));
    begin += 16;
    end -= 16;
  }
  if (end - begin >= 16)
    ReverseUpTo32(begin, end);
  else
    ReverseWords(begin, end);
}

using Reverser = void (*)(char*, char*) noexcept;

Reverser ChooseReverser() {
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return ReverseAvx2;
  if (__builtin_cpu_supports("ssse3")) return ReverseSsse3;
  return ReverseWords;
}

const Reverser kVectorReverse = ChooseReverser();

const bool kOrderedRunsWithAvx2 = __builtin_cpu_supports("avx2");

using ReverseCopier = void (*)(const char*, std::size_t, char*) noexcept;

const ReverseCopier kVectorReverseCopy = __builtin_cpu_supports("avx2") ? ReverseCopyAvx2 : ReverseCopyWords;

#endif

}  // namespace

void ReverseInPlace(std::span<char> bytes) noexcept {
  char* begin = bytes.data();
  char* end = begin + bytes.size();
#if defined(__x86_64__)
  // Lines of 16 bytes or more, most lines of a text, take the vector shuffles; shorter ones
  // do not pay for the indirect call.
  if (bytes.size() >= 16) {
    kVectorReverse(begin, end);
    return;
  }
#endif
  ReverseWords(begin, end);
}

void ReverseEachOfOrderedRuns(std::span<const ByteRun> runs, std::span<const char> readable) noexcept {
#if defined(__x86_64__)
  if (kOrderedRunsWithAvx2) {
    ReverseOrderedRunsAvx2(runs.data(), runs.size(), readable);
    return;
  }
#endif
  for (const ByteRun& run : runs) ReverseInPlace({run.Begin, run.Size});
}

void ReverseCopy(const char* from, std::size_t count, char* to) noexcept {
#if defined(__x86_64__)
  if (count >= 64) {
    kVectorReverseCopy(from, count, to);
    return;
  }
#endif
  ReverseCopyWords(from, count, to);
}

}  // namespace quillon
