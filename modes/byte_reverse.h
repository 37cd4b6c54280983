#pragma once

#include <span>

namespace quillon {

// Reverses the order of the bytes in place.
void ReverseInPlace(std::span<char> bytes) noexcept;

}  // namespace quillon
