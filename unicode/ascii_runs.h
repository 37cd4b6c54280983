#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillon::unicode {
namespace detail {

// The first byte in [begin, end) at or above 0x80, or end.
const char* FindFirstNonAscii(const char* begin, const char* end) noexcept;

// Bit i set where at[i] is not ASCII, for the `Bytes` (16, 32 or 64) bytes from `at`. Inline:
// the cluster walks take one at nearly every cluster.
template <int Bytes>
inline std::uint64_t NonAsciiMask(const char* at) noexcept {
  static_assert(Bytes == 16 || Bytes == 32 || Bytes == 64);
  std::uint64_t mask = 0;
#if defined(__SSE2__)
  for (int part = 0; part < Bytes / 16; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
    mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(bytes))) << (16 * part);
  }
#else
  for (int i = 0; i < Bytes; ++i) mask |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[i]) >> 7) << i;
#endif
  return mask;
}

}  // namespace detail

inline bool IsAllAscii(std::span<const char> bytes) noexcept {
  const char* end = bytes.data() + bytes.size();
  return detail::FindFirstNonAscii(bytes.data(), end) == end;
}

}  // namespace quillon::unicode
