#pragma once

#include <cstddef>
#include <span>

namespace quillon {

// The byte-reversal kernels every layer above uses.

// Reverses the order of the bytes in place.
void ReverseInPlace(std::span<char> bytes) noexcept;

// Writes the `count` bytes from `from` to `to` in reverse order; the two must not overlap.
void ReverseCopy(const char* from, std::size_t count, char* to) noexcept;

}  // namespace quillon
