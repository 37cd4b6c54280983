#include "unicode/latin_letters.h"

#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::unicode {

namespace {

constexpr std::size_t kStep = 16;

inline bool IsLetterLead(unsigned char byte) noexcept { return byte >= 0xC3 && byte <= 0xC9; }

// Whether a stretch may go on at this byte: ASCII or a letter's first byte.
inline bool StartsAsciiOrLetter(unsigned char byte) noexcept { return byte < 0x80 || IsLetterLead(byte); }

#if defined(__SSE2__)

// The bytes 0xC3 to 0xC9, as 0xFF.
inline __m128i LetterLeads(__m128i bytes) noexcept {
  const __m128i shifted = _mm_xor_si128(bytes, _mm_set1_epi8(static_cast<char>(0x80)));  // 0xC3 -> 0x43
  return _mm_and_si128(_mm_cmpgt_epi8(shifted, _mm_set1_epi8(0x42)), _mm_cmplt_epi8(shifted, _mm_set1_epi8(0x4A)));
}

// Whether all 16 bytes are ASCII, continuation bytes or letter leads. In well-formed UTF-8
// that starts at a code point, the continuation bytes are then the letters' second bytes.
inline bool AllAsciiOrLetters(__m128i bytes, __m128i leads) noexcept {
  const __m128i asciiOrContinuation = _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(0xC0)));  // signed: 0x80..0xBF and ASCII
  const __m128i ascii = _mm_cmpgt_epi8(bytes, _mm_set1_epi8(-1));
  return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(asciiOrContinuation, ascii), leads)) == 0xFFFF;
}

inline __m128i Load(const char* at) noexcept { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

#endif

}  // namespace

std::size_t LatinStretchEnd(std::span<const char> text, std::size_t from) noexcept {
  std::size_t end = from;
#if defined(__SSE2__)
  while (text.size() - end >= kStep) {
    const __m128i chunk = Load(text.data() + end);
    if (!AllAsciiOrLetters(chunk, LetterLeads(chunk))) break;
    end += kStep;
  }
  const auto byteAt = [&](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  if (end > from && end < text.size() && !StartsAsciiOrLetter(byteAt(end))) {
    // A letter cut by the last step, or what follows may join the last code point: that one
    // is left to the cluster walk.
    end -= IsLetterLead(byteAt(end - 1)) || byteAt(end - 1) < 0x80 ? 1 : 2;
  }
#else
  (void)text;
#endif
  return end;
}

void MirrorLatinLetters(std::span<char> stretch) noexcept {
  char* at = stretch.data();
  char* const end = at + stretch.size();
  bool secondIsFirstHere = false;  // the letter cut by the last step has its second byte here
  char cutLead = 0;
#if defined(__SSE2__)
  // Each step takes its neighbours' bytes from the steps before and after it, both loaded
  // before it is stored, so that a letter cut by a step's edge is swapped too.
  if (end - at >= static_cast<std::ptrdiff_t>(2 * kStep)) {
    __m128i before = _mm_setzero_si128();
    __m128i leadsBefore = _mm_setzero_si128();
    __m128i chunk = Load(at);
    __m128i leads = LetterLeads(chunk);
    for (; end - at >= static_cast<std::ptrdiff_t>(2 * kStep); at += kStep) {
      const __m128i after = Load(at + kStep);
      const __m128i nextBytes = _mm_or_si128(_mm_srli_si128(chunk, 1), _mm_slli_si128(after, 15));
      const __m128i previousBytes = _mm_or_si128(_mm_slli_si128(chunk, 1), _mm_srli_si128(before, 15));
      const __m128i seconds = _mm_or_si128(_mm_slli_si128(leads, 1), _mm_srli_si128(leadsBefore, 15));
      const __m128i swapped = _mm_or_si128(_mm_and_si128(leads, nextBytes), _mm_and_si128(seconds, previousBytes));
      const __m128i kept = _mm_andnot_si128(_mm_or_si128(leads, seconds), chunk);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_or_si128(swapped, kept));
      before = chunk;
      leadsBefore = leads;
      chunk = after;
      leads = LetterLeads(after);
    }
    secondIsFirstHere = (_mm_movemask_epi8(leadsBefore) & 0x8000) != 0;
    cutLead = static_cast<char>(_mm_extract_epi16(before, 7) >> 8);
  }
#endif
  if (secondIsFirstHere) {
    *at = cutLead;
    ++at;
  }
  while (at < end) {
    if (IsLetterLead(static_cast<unsigned char>(*at)) && end - at >= 2) {
      std::swap(at[0], at[1]);
      at += 2;
    } else {
      ++at;
    }
  }
}

}  // namespace quillon::unicode
