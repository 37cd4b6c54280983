#include "modes/byte_runs_reverse.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fileio/break_masks.h"
#include "fileio/byte_reverse.h"
#include "fileio/line_breaks.h"

namespace quillon {

// Runs are found 64 bytes at a time from the bits where the break mask changes, so a line
// costs a couple of bit operations, and reversed a batch at a time, in order.
void ReverseEndedByteRuns(char* from, char* to, RunScan& scan) {
  constexpr std::size_t kBatch = 256;
  constexpr std::size_t kMostEndsIn64 = 32;
  ByteRun ended[kBatch];
  std::size_t endedCount = 0;
  std::uint64_t previousIsBreak = scan.inRun ? 0 : 1;
  // A run open from before `from` was moved there by the caller: its bytes are the scan's too.
  const char* const readable = scan.inRun ? std::min<const char*>(scan.runStart, from) : from;
  const std::span<const char> mayRead(readable, static_cast<std::size_t>(to - readable));
  char* at = from;
  for (; to - at >= 64; at += 64) {
    const std::uint64_t breaks = BreakMask64(at);
    std::uint64_t changes = breaks ^ (breaks << 1 | previousIsBreak);
    previousIsBreak = breaks >> 63;
    while (changes != 0) {
      const int bit = __builtin_ctzll(changes);
      changes &= changes - 1;
      if (breaks >> bit & 1) {
        ended[endedCount++] = {scan.runStart, static_cast<std::size_t>(at + bit - scan.runStart)};
      } else {
        scan.runStart = at + bit;
      }
    }
    if (endedCount > kBatch - kMostEndsIn64) {
      ReverseEachOfOrderedRuns(std::span(ended, endedCount), mayRead);
      endedCount = 0;
    }
  }
  ReverseEachOfOrderedRuns(std::span(ended, endedCount), mayRead);
  bool inRun = previousIsBreak == 0;
  for (; at < to; ++at) {
    const bool isBreak = IsLineBreak(*at);
    if (isBreak && inRun) ReverseInPlace({scan.runStart, static_cast<std::size_t>(at - scan.runStart)});
    if (!isBreak && !inRun) scan.runStart = at;
    inRun = !isBreak;
  }
  scan.inRun = inRun;
}

}  // namespace quillon
