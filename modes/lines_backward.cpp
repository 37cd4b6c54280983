#include "modes/lines_backward.h"

#include <cstdint>
#include <cstring>

#include "fileio/line_breaks.h"

namespace quillon {

namespace {

// Lines up to this long are copied as this many bytes, whatever their length: one fixed copy
// that never mispredicts, where a copy of the exact length branches on a length that changes
// from line to line. The bytes past the line are written over by the next one.
constexpr std::size_t kFixedCopy = 128;

// The breaks that end lines among the 64 bytes from `at`: every LF, and every CR but one
// that an LF follows (the LF ends that line). `lfAfter` says an LF follows the 64 bytes.
std::uint64_t LineEnds(const BreakMasks& masks, bool lfAfter) noexcept {
  const std::uint64_t lfNext = (masks.lf >> 1) | (static_cast<std::uint64_t>(lfAfter) << 63);
  return masks.lf | (masks.cr & ~lfNext);
}

// The masks of the 64 bytes from `at`, of which only the first `count` are there.
BreakMasks BreakMasksOfPart(const char* at, std::size_t count) noexcept {
  if (count == 64) return LoadBreakMasks(at);
  alignas(64) char part[64] = {};
  std::memcpy(part, at, count);
  return LoadBreakMasks(part);
}

}  // namespace

// The block is scanned once, 64 bytes a step from its end, and its line ends taken from each
// step's mask highest first, so that a line costs a few bit operations and its copy.
LinesCopied CopyLinesBackward(std::span<const char> block, const char* stop, std::span<char> out) noexcept {
  const char* const blockBegin = block.data();
  const char* const blockEnd = block.data() + block.size();
  char* to = out.data();
  char* const outEnd = out.data() + out.size();
  const auto copied = [&](bool outOfRoom) { return LinesCopied{stop, static_cast<std::size_t>(to - out.data()), outOfRoom}; };
  if (stop == blockBegin) return copied(false);
  auto chunk = static_cast<std::size_t>(stop - blockBegin - 1) / 64 * 64;
  BreakMasks masks = BreakMasksOfPart(blockBegin + chunk, static_cast<std::size_t>(stop - blockBegin) - chunk);
  std::uint64_t breaks = LineEnds(masks, false);
  for (;;) {
    while (breaks != 0) {
      const int bit = 63 - __builtin_clzll(breaks);
      breaks &= ~(std::uint64_t{1} << bit);
      const char* const lineBreak = blockBegin + chunk + bit;
      if (lineBreak == blockBegin) return copied(false);
      const char* const content = lineBreak + 1;
      const auto length = static_cast<std::size_t>(stop - content);
      const bool loneCr = *lineBreak == kCR;
      const auto room = static_cast<std::size_t>(outEnd - to);
      if (length <= kFixedCopy && content + kFixedCopy <= blockEnd && room >= kFixedCopy + 3) [[likely]] {
        *to = kCR;
        std::memcpy(to + (loneCr ? 1 : 0), content, kFixedCopy);
      } else if (length + 3 <= room) {
        *to = kCR;
        std::memcpy(to + (loneCr ? 1 : 0), content, length);
      } else {
        return copied(true);
      }
      to += (loneCr ? 1 : 0) + length;
      to[0] = kCR;
      to[1] = kLF;
      to += 2;
      stop = !loneCr && lineBreak[-1] == kCR ? lineBreak - 1 : lineBreak;
    }
    if (chunk == 0) return copied(false);
    chunk -= 64;
    const bool lfAfter = (masks.lf & 1) != 0;
    masks = LoadBreakMasks(blockBegin + chunk);
    breaks = LineEnds(masks, lfAfter);
  }
}

}  // namespace quillon
