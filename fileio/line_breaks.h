#pragma once

#include <cstdint>

#include "fileio/break_masks.h"

namespace quillon {

inline constexpr char kCR = '\r';
inline constexpr char kLF = '\n';

inline bool IsLineBreak(char c) { return c == kCR || c == kLF; }

// The last CR or LF in [begin, end), or nullptr when there is none.
const char* FindLastBreak(const char* begin, const char* end);

// The first CR or LF in [begin, end), or nullptr when there is none.
const char* FindFirstBreak(const char* begin, const char* end);

// Bit i set where the byte at[i] is a CR or LF, for the 64 bytes from `at`. Inline: it is the
// inner step of every line scan.
inline std::uint64_t BreakMask64(const char* at) noexcept {
  const BreakMasks masks = LoadBreakMasks(at);
  return masks.cr | masks.lf;
}

// The first byte in [begin, end) that is not a CR or LF, or end.
const char* SkipBreaks(const char* begin, const char* end);

}  // namespace quillon
