#pragma once

#include <cstddef>

namespace quillon::unicode::detail {

// The first byte in [begin, end) at or above 0x80, or end.
const char* FindFirstNonAscii(const char* begin, const char* end) noexcept;

}  // namespace quillon::unicode::detail
