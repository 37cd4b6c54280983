#pragma once

#include <cstddef>
#include <span>

namespace quillon::unicode {
namespace detail {

// The first byte in [begin, end) at or above 0x80, or end.
const char* FindFirstNonAscii(const char* begin, const char* end) noexcept;

}  // namespace detail

inline bool IsAllAscii(std::span<const char> bytes) noexcept {
  const char* end = bytes.data() + bytes.size();
  return detail::FindFirstNonAscii(bytes.data(), end) == end;
}

}  // namespace quillon::unicode
