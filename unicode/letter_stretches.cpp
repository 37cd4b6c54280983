#include "unicode/letter_stretches.h"

#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::unicode {

namespace {

constexpr std::size_t kStep = 16;

template <unsigned char FirstLead, unsigned char LastLead, int Length>
struct Letters {
  static constexpr int kLength = Length;
  static bool IsLead(unsigned char byte) noexcept { return byte >= FirstLead && byte <= LastLead; }

#if defined(__SSE2__)
  // The leads among 16 bytes, as 0xFF.
  static __m128i Leads(__m128i bytes) noexcept {
    const __m128i shifted = _mm_xor_si128(bytes, _mm_set1_epi8(static_cast<char>(0x80)));  // signed order
    const __m128i above = _mm_cmpgt_epi8(shifted, _mm_set1_epi8(static_cast<char>(FirstLead - 0x80 - 1)));
    const __m128i below = _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(LastLead - 0x80 + 1)));
    return _mm_and_si128(above, below);
  }
#endif
};

using LatinLetters = Letters<0xC3, 0xC9, 2>;
using Ideographs = Letters<0xE4, 0xE9, 3>;

inline bool IsContinuation(unsigned char byte) noexcept { return (byte & 0xC0u) == 0x80u; }

#if defined(__SSE2__)
inline __m128i Load(const char* at) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Whether all 16 bytes are ASCII, continuation bytes or the letters' leads. In well-formed
// UTF-8 that starts at a code point, the continuation bytes then belong to the letters.
inline bool AllAsciiOrLetters(__m128i bytes, __m128i leads) noexcept {
  const __m128i asciiOrContinuation = _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xC0)));  // signed
  const __m128i ascii = _mm_cmpgt_epi8(bytes, _mm_set1_epi8(-1));
  return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(asciiOrContinuation, ascii), leads)) == 0xFFFF;
}

// Bytes shifted towards the end by N, the first N coming from the last of `before`.
template <int N>
inline __m128i FromBefore(__m128i chunk, __m128i before) noexcept {
  return _mm_or_si128(_mm_slli_si128(chunk, N), _mm_srli_si128(before, 16 - N));
}

// Bytes shifted towards the start by N, the last N coming from the first of `after`.
template <int N>
inline __m128i FromAfter(__m128i chunk, __m128i after) noexcept {
  return _mm_or_si128(_mm_srli_si128(chunk, N), _mm_slli_si128(after, 16 - N));
}
#endif

template <typename Kind>
std::size_t StretchEnd(std::span<const char> text, std::size_t from) noexcept {
  std::size_t end = from;
#if defined(__SSE2__)
  while (text.size() - end >= kStep) {
    const __m128i chunk = Load(text.data() + end);
    if (!AllAsciiOrLetters(chunk, Kind::Leads(chunk))) break;
    end += kStep;
  }
  const auto byteAt = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  if (end > from && end < text.size() && byteAt(end) >= 0x80 && !Kind::IsLead(byteAt(end))) {
    // A letter cut by the last step, or what follows may join the last code point: that one
    // is left to the cluster walk.
    do --end;
    while (IsContinuation(byteAt(end)));
  }
#else
  (void)text;
#endif
  return end;
}

template <typename Kind>
void Mirror(std::span<char> stretch) noexcept {
  constexpr int kLast = Kind::kLength - 1;  // a letter's last byte, from its lead
  char* at = stretch.data();
  char* const end = at + stretch.size();
#if defined(__SSE2__)
  // Each step takes its neighbours' bytes from the steps before and after it, both loaded
  // before it is stored, so that a letter cut by a step's edge is mirrored too.
  if (end - at >= static_cast<std::ptrdiff_t>(2 * kStep)) {
    __m128i before = _mm_setzero_si128();
    __m128i leadsBefore = _mm_setzero_si128();
    __m128i chunk = Load(at);
    __m128i leads = Kind::Leads(chunk);
    for (; end - at >= static_cast<std::ptrdiff_t>(2 * kStep); at += kStep) {
      const __m128i after = Load(at + kStep);
      const __m128i lasts = FromBefore<kLast>(leads, leadsBefore);
      const __m128i mirrored = _mm_or_si128(_mm_and_si128(leads, FromAfter<kLast>(chunk, after)),
                                            _mm_and_si128(lasts, FromBefore<kLast>(chunk, before)));
      const __m128i kept = _mm_andnot_si128(_mm_or_si128(leads, lasts), chunk);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_or_si128(mirrored, kept));
      before = chunk;
      leadsBefore = leads;
      chunk = after;
      leads = Kind::Leads(after);
    }
    // A letter the last step cut has its lead mirrored there and its last byte here.
    alignas(16) unsigned char lastBytes[kStep];
    _mm_store_si128(reinterpret_cast<__m128i*>(lastBytes), before);
    for (int back = 1; back <= kLast; ++back) {
      const unsigned char byte = lastBytes[kStep - static_cast<std::size_t>(back)];
      if (Kind::IsLead(byte)) {
        at[kLast - back] = static_cast<char>(byte);
        at += kLast - back + 1;
        break;
      }
    }
  }
#endif
  while (at < end) {
    if (Kind::IsLead(static_cast<unsigned char>(*at)) && end - at > kLast) {
      std::swap(at[0], at[kLast]);
      at += Kind::kLength;
    } else {
      ++at;
    }
  }
}

}  // namespace

std::optional<LetterKind> LetterKindOf(unsigned char lead) noexcept {
  if (LatinLetters::IsLead(lead)) return LetterKind::Latin;
  if (Ideographs::IsLead(lead)) return LetterKind::Ideograph;
  return std::nullopt;
}

std::size_t LetterStretchEnd(LetterKind kind, std::span<const char> text, std::size_t from) noexcept {
  return kind == LetterKind::Latin ? StretchEnd<LatinLetters>(text, from) : StretchEnd<Ideographs>(text, from);
}

void MirrorLetters(LetterKind kind, std::span<char> stretch) noexcept {
  if (kind == LetterKind::Latin)
    Mirror<LatinLetters>(stretch);
  else
    Mirror<Ideographs>(stretch);
}

}  // namespace quillon::unicode
