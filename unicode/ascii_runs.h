#pragma once

#include <cstddef>

namespace quillon::unicode::detail {

// The first byte in [begin, end) at or above 0x80, or end.
const char* FindFirstNonAscii(const char* begin, const char* end) noexcept;

// Writes the `count` bytes from `from` to `to` in reverse order; the two must not overlap.
void ReverseCopy(const char* from, std::size_t count, char* to) noexcept;

// Reverses the order of the bytes in [begin, end).
void ReverseBytes(char* begin, char* end) noexcept;

}  // namespace quillon::unicode::detail
