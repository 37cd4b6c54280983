#include "fileio/line_breaks.h"

#include <cstdint>

#include "fileio/break_masks.h"

namespace quillon {

// Lines are short on average but may be gigabytes long, so both scans test 64 bytes per
// step with vector compares and fall back to single bytes only at the edges.
#if defined(__SSE2__)
const char* FindLastBreak(const char* begin, const char* end) {
  while (end - begin >= 64) {
    if (const std::uint64_t mask = BreakMask64(end - 64)) return end - 64 + (63 - __builtin_clzll(mask));
    end -= 64;
  }
  while (end - begin >= 16) {
    if (const std::uint32_t mask = BreakMask16(end - 16)) return end - 16 + (31 - __builtin_clz(mask));
    end -= 16;
  }
  while (end > begin) {
    --end;
    if (IsLineBreak(*end)) return end;
  }
  return nullptr;
}

const char* FindFirstBreak(const char* begin, const char* end) {
  while (end - begin >= 64) {
    if (const std::uint64_t mask = BreakMask64(begin)) return begin + __builtin_ctzll(mask);
    begin += 64;
  }
  while (end - begin >= 16) {
    if (const std::uint32_t mask = BreakMask16(begin)) return begin + __builtin_ctz(mask);
    begin += 16;
  }
  for (; begin < end; ++begin)
    if (IsLineBreak(*begin)) return begin;
  return nullptr;
}

#else

const char* FindLastBreak(const char* begin, const char* end) {
  while (end > begin) {
    --end;
    if (IsLineBreak(*end)) return end;
  }
  return nullptr;
}

const char* FindFirstBreak(const char* begin, const char* end) {
  for (; begin < end; ++begin)
    if (IsLineBreak(*begin)) return begin;
  return nullptr;
}

#endif

const char* SkipBreaks(const char* begin, const char* end) {
  while (begin < end && IsLineBreak(*begin)) ++begin;
  return begin;
}

}  // namespace quillon
