#include "modes/revert_line.h"

#include <algorithm>
#include <cstring>

#include "fileio/block_io.h"
#include "fileio/line_breaks.h"
#include "modes/byte_reverse.h"
#include "modes/output_writer.h"
#include "modes/progress_meter.h"
#include "modes/range_reverse.h"
#include "modes/run_files.h"

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

// The end of the run of non-break bytes that goes on at `from`: the position of the next
// break, or the file's end. Reads forward a buffer at a time into `scratch`.
std::int64_t FindRunEnd(const FileHandle& input, std::int64_t from, std::int64_t size, std::span<char> scratch,
                        ProgressMeter& meter) {
  while (from < size) {
    meter.Report(from);
    const std::span<char> piece = scratch.first(static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(scratch.size()), size - from)));
    ReadExactlyAt(input, from, piece);
    if (const char* found = FindFirstBreak(piece.data(), piece.data() + piece.size())) return from + (found - piece.data());
    from += static_cast<std::int64_t>(piece.size());
  }
  return size;
}

}  // namespace

// With breaks kept in place, reversing each line's content is reversing every run of bytes
// that holds no CR or LF. The input is read forwards straight into an output buffer, where
// each run is reversed as soon as its end is known; the start of a run still open at the
// buffer's end moves to the front of the next buffer. A run longer than a whole buffer is
// written from its end backwards, like a file of its own.
void RevertLine(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath, context.OutputStream >= 0);
  const std::int64_t size = files.InputSize();
  OutputWriter output(files, context, context.Tuning.WorkingBlockSize());
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  const std::size_t capacity = output.BufferSize();

  std::span<char> buffer = output.Take();
  std::size_t carried = 0;  // bytes of an open run at the buffer's front
  std::int64_t read = 0;
  while (read < size) {
    meter.Report(read);
    const auto length = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(capacity - carried), size - read));
    ReadExactlyAt(files.Input(), read, buffer.subspan(carried, length));
    read += static_cast<std::int64_t>(length);
    const std::size_t filled = carried + length;
    RunScan scan{carried > 0, buffer.data()};
    ReverseEndedRuns(buffer.data() + carried, buffer.data() + filled, scan);

    if (read < size && scan.inRun && scan.runStart == buffer.data() && filled == capacity) {
      const std::int64_t runBegin = read - static_cast<std::int64_t>(filled);
      const std::int64_t runEnd = FindRunEnd(files.Input(), read, size, buffer, meter);
      output.Drop(buffer);
      WriteRangeReversed(files.Input(), runBegin, runEnd, output, [](std::int64_t) {});
      read = runEnd;
      carried = 0;
      buffer = output.Take();
      continue;
    }
    if (read == size) {
      if (scan.inRun) ReverseInPlace({scan.runStart, static_cast<std::size_t>(buffer.data() + filled - scan.runStart)});
      output.Hand(buffer, filled);
      buffer = {};
      break;
    }
    const auto settled = static_cast<std::size_t>((scan.inRun ? scan.runStart : buffer.data() + filled) - buffer.data());
    const std::span<char> next = output.Take();
    carried = filled - settled;
    std::memcpy(next.data(), buffer.data() + settled, carried);
    output.Hand(buffer, settled);
    buffer = next;
  }
  if (!buffer.empty()) output.Drop(buffer);
  output.Finish();
}

}  // namespace quillon
