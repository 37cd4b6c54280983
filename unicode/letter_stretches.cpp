#include "unicode/letter_stretches.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "unicode/utf8_decode.h"

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

using LatinLetters = Letters<kFirstLatinLead, kLastLatinLead, 2>;
using Ideographs = Letters<kFirstIdeographLead, kLastIdeographLead, 3>;

#if defined(__SSE2__)
inline __m128i Load(const char* at) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// The `count` bytes (at most 16) from `at`, followed by zeros, which count as ASCII.
inline __m128i LoadUpTo(const char* at, std::size_t count) noexcept {
  if (count >= kStep) return Load(at);
  alignas(16) char part[kStep] = {};
  std::memcpy(part, at, count);
  return _mm_load_si128(reinterpret_cast<const __m128i*>(part));
}

// Stores the first `count` bytes (at most 16) of `bytes` at `at`.
inline void StoreUpTo(char* at, std::size_t count, __m128i bytes) noexcept {
  if (count >= kStep) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), bytes);
    return;
  }
  alignas(16) char part[kStep];
  _mm_store_si128(reinterpret_cast<__m128i*>(part), bytes);
  std::memcpy(at, part, count);
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

#if defined(__SSE2__)
// Where the letters whose leads are `leads` (after `leadsBefore`) have their other bytes.
template <typename Kind>
inline __m128i ContinuationsOf(__m128i leads, __m128i leadsBefore) noexcept {
  const __m128i seconds = FromBefore<1>(leads, leadsBefore);
  if constexpr (Kind::kLength == 2) return seconds;
  return _mm_or_si128(seconds, FromBefore<2>(leads, leadsBefore));
}
#endif

template <typename Kind>
std::size_t StretchEnd(std::span<const char> text, std::size_t from) noexcept {
#if !defined(__SSE2__)
  (void)text;
  return from;
#else
  std::size_t end = from;
  __m128i leadsBefore = _mm_setzero_si128();
  while (end < text.size()) {
    const std::size_t count = std::min(kStep, text.size() - end);
    const __m128i chunk = LoadUpTo(text.data() + end, count);
    const __m128i leads = Kind::Leads(chunk);
    const __m128i continuations = _mm_cmplt_epi8(chunk, _mm_set1_epi8(static_cast<char>(0xC0)));  // signed: 0x80 to 0xBF
    const __m128i ascii = _mm_cmpgt_epi8(chunk, _mm_set1_epi8(-1));
    const bool onlyThese = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(continuations, ascii), leads)) == 0xFFFF;
    // Each letter whole, and no other continuation byte: the stretch is well-formed.
    const bool wellFormed = _mm_movemask_epi8(_mm_xor_si128(continuations, ContinuationsOf<Kind>(leads, leadsBefore))) == 0;
    if (!onlyThese || !wellFormed) break;
    leadsBefore = leads;
    end += count;
  }
  // A letter of the last step that goes on past it was not seen whole.
  if (const int cut = _mm_movemask_epi8(leadsBefore) >> (kStep - Kind::kLength + 1); cut != 0)
    end -= static_cast<std::size_t>(Kind::kLength - 1 - (31 - __builtin_clz(static_cast<unsigned>(cut))));
  const auto byteAt = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  if (end > from && end < text.size() && byteAt(end) >= 0x80 && !Kind::IsLead(byteAt(end))) {
    // What follows may join the last code point: that one is left to the cluster walk.
    do --end;
    while (IsContinuationByte(text[end]));
  }
  return end;
#endif
}

template <typename Kind>
void Mirror(std::span<char> stretch) noexcept {
  constexpr int kLast = Kind::kLength - 1;  // a letter's last byte, from its lead
  char* at = stretch.data();
#if defined(__SSE2__)
  // Each step takes its neighbours' bytes from the steps before and after it, both loaded
  // before it is stored, so that a letter cut by a step's edge is mirrored too. The stretch
  // ends at a code point, so the zeros after its end stand in for nothing a letter needs.
  const std::size_t size = stretch.size();
  __m128i before = _mm_setzero_si128();
  __m128i leadsBefore = _mm_setzero_si128();
  __m128i chunk = LoadUpTo(at, size);
  __m128i leads = Kind::Leads(chunk);
  for (std::size_t done = 0; done < size; done += kStep) {
    const std::size_t left = size - done;
    const __m128i after = left > kStep ? LoadUpTo(at + done + kStep, left - kStep) : _mm_setzero_si128();
    const __m128i lasts = FromBefore<kLast>(leads, leadsBefore);
    const __m128i mirrored = _mm_or_si128(_mm_and_si128(leads, FromAfter<kLast>(chunk, after)),
                                          _mm_and_si128(lasts, FromBefore<kLast>(chunk, before)));
    const __m128i kept = _mm_andnot_si128(_mm_or_si128(leads, lasts), chunk);
    StoreUpTo(at + done, left, _mm_or_si128(mirrored, kept));
    before = chunk;
    leadsBefore = leads;
    chunk = after;
    leads = Kind::Leads(after);
  }
#else
  char* const end = at + stretch.size();
  while (at < end) {
    if (Kind::IsLead(static_cast<unsigned char>(*at)) && end - at > kLast) {
      std::swap(at[0], at[kLast]);
      at += Kind::kLength;
    } else {
      ++at;
    }
  }
#endif
}

}  // namespace

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
