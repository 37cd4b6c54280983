#include "resultview/result_shown_text.h"

#include <algorithm>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "resultview/cp1252.h"

namespace quillon {

namespace {

#if defined(__SSE2__)
// Widens 16 bytes at once when none of them is a break or in 0x80 to 0x9F, the only bytes
// whose character is not the byte's own value. Returns whether it did.
bool WidenPlainBytes(const char* bytes, char16_t* out) noexcept {
  const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n')));
  const __m128i c1 = _mm_cmpeq_epi8(_mm_and_si128(chunk, _mm_set1_epi8(static_cast<char>(0xE0))), _mm_set1_epi8(static_cast<char>(0x80)));
  if (_mm_movemask_epi8(_mm_or_si128(breaks, c1)) != 0) return false;
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
  return true;
}
#else
bool WidenPlainBytes(const char*, char16_t*) noexcept { return false; }
#endif

constexpr std::size_t kChunk = 16;

}  // namespace

std::size_t ShownText(std::span<const char> bytes, std::span<char16_t> out) {
  if (out.size() < bytes.size()) throw std::length_error("ShownText: no room for the characters");
  const std::size_t size = bytes.size();
  std::size_t written = 0;
  std::size_t i = 0;
  while (i < size) {
    if (i + kChunk <= size && WidenPlainBytes(bytes.data() + i, out.data() + written)) {
      i += kChunk;
      written += kChunk;
      continue;
    }
    for (const std::size_t stop = std::min(size, i + kChunk); i < stop; ++i) {
      const char byte = bytes[i];
      if (byte == '\r') {
        out[written++] = u'\n';
        if (i + 1 < size && bytes[i + 1] == '\n') ++i;
      } else {
        out[written++] = Cp1252ToUnicode(static_cast<unsigned char>(byte));
      }
    }
  }
  return written;
}

char16_t PaintedCharacter(unsigned char byte) noexcept {
  const char16_t character = Cp1252ToUnicode(byte);
  if (character < 0x20 || (character >= 0x7F && character < 0xA0)) return u' ';
  if (character == 0xAD) return u'-';
  return character;
}

}  // namespace quillon
