#include "window/result_break_masks.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon {

#if defined(__SSE2__)

namespace {

inline std::uint64_t Mask16(__m128i bytes, __m128i wanted) {
  return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
}

}  // namespace

BreakMasks LoadBreakMasks(const char* at) noexcept {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  BreakMasks masks{0, 0};
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    masks.cr |= Mask16(bytes, cr) << (16 * part);
    masks.lf |= Mask16(bytes, lf) << (16 * part);
  }
  return masks;
}

#else

BreakMasks LoadBreakMasks(const char* at) noexcept {
  BreakMasks masks{0, 0};
  for (int i = 0; i < 64; ++i) {
    masks.cr |= static_cast<std::uint64_t>(at[i] == '\r') << i;
    masks.lf |= static_cast<std::uint64_t>(at[i] == '\n') << i;
  }
  return masks;
}

#endif

}  // namespace quillon
