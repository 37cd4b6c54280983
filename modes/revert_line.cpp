#include "modes/revert_line.h"

#include <algorithm>

#include "fileio/block_io.h"
#include "fileio/line_breaks.h"
#include "modes/byte_reverse.h"
#include "modes/progress_meter.h"
#include "modes/run_files.h"
#include "modes/run_output.h"

namespace quillon {

namespace {

// Where the scan stands between blocks: inside a run of non-break bytes that began at
// runStart, or among breaks.
struct RunScan {
  bool inRun = false;
  char* runStart = nullptr;
};

// Reverses in place every run of non-break bytes in [from, to) that ends before `to`. A run
// still open at `to` is left for the next call. Runs are found 64 bytes at a time from the
// bits where the break mask changes, so a line costs a couple of bit operations.
void ReverseEndedRuns(char* from, char* to, RunScan& scan) {
  std::uint64_t previousIsBreak = scan.inRun ? 0 : 1;
  char* at = from;
  for (; to - at >= 64; at += 64) {
    const std::uint64_t breaks = BreakMask64(at);
    std::uint64_t changes = breaks ^ (breaks << 1 | previousIsBreak);
    previousIsBreak = breaks >> 63;
    while (changes != 0) {
      const int bit = __builtin_ctzll(changes);
      changes &= changes - 1;
      if (breaks >> bit & 1) {
        ReverseInPlace({scan.runStart, static_cast<std::size_t>(at + bit - scan.runStart)});
      } else {
        scan.runStart = at + bit;
      }
    }
  }
  bool inRun = previousIsBreak == 0;
  for (; at < to; ++at) {
    const bool isBreak = IsLineBreak(*at);
    if (isBreak && inRun) ReverseInPlace({scan.runStart, static_cast<std::size_t>(at - scan.runStart)});
    if (!isBreak && !inRun) scan.runStart = at;
    inRun = !isBreak;
  }
  scan.inRun = inRun;
}

}  // namespace

// With breaks kept in place, reversing each line's content is reversing every run of bytes
// that holds no CR or LF. The input is read straight into the output's room, where each run
// is reversed as soon as its end is known.
void RevertLine(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath, context.OutputStream >= 0);
  const std::int64_t size = files.InputSize();
  RunOutput output(files, context, static_cast<std::size_t>(size));
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  const auto block = static_cast<std::int64_t>(context.Tuning.WorkingBlockSize());
  char* const room = output.Room();

  std::int64_t read = 0;
  RunScan scan;
  while (read < size) {
    meter.Report(read);
    const std::int64_t length = std::min(block, size - read);
    ReadExactlyAt(files.Input(), read, {room + read, static_cast<std::size_t>(length)});
    ReverseEndedRuns(room + read, room + read + length, scan);
    read += length;
    output.Settle(static_cast<std::size_t>((scan.inRun ? scan.runStart : room + read) - room));
  }
  if (scan.inRun) ReverseInPlace({scan.runStart, static_cast<std::size_t>(room + size - scan.runStart)});
  output.Finish(static_cast<std::size_t>(size));
}

}  // namespace quillon
