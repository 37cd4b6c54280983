#pragma once

namespace quillon {

inline constexpr char kCR = '\r';
inline constexpr char kLF = '\n';

inline bool IsLineBreak(char c) { return c == kCR || c == kLF; }

// The last CR or LF in [begin, end), or nullptr when there is none.
const char* FindLastBreak(const char* begin, const char* end);

// The first CR or LF in [begin, end), or nullptr when there is none.
const char* FindFirstBreak(const char* begin, const char* end);

// The first byte in [begin, end) that is not a CR or LF, or end.
const char* SkipBreaks(const char* begin, const char* end);

}  // namespace quillon
