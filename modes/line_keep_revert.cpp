#include "modes/line_keep_revert.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "fileio/backward_lines.h"
#include "fileio/line_breaks.h"
#include "modes/line_walk_progress.h"
#include "modes/progress_meter.h"
#include "modes/output_writer.h"
#include "unicode/utf8_validator.h"

namespace quillon {

namespace {

// The breaks among the 64 bytes from `at`, of which only the first `count` are there.
std::uint64_t BreakMaskOfPart(const char* at, std::size_t count) {
  if (count == 64) return BreakMask64(at);
  alignas(64) char part[64] = {};
  std::memcpy(part, at, count);
  return BreakMask64(part);
}

// Takes the lines that lie wholly inside the loaded block, ending at `stop` (one past the
// cursor), straight from the block. Returns where it stopped: at a line that starts before
// the block, or whose break might pair with a CR before it; FindLineBackward takes those.
// The block is scanned once, 64 bytes a step from its end, and its breaks taken from each
// step's mask highest first, so that a line costs a few bit operations and its copy.
const char* AppendLinesInBlock(const char* blockBegin, const char* stop, OutputAppender& out) {
  if (stop == blockBegin) return stop;
  auto chunk = static_cast<std::size_t>(stop - blockBegin - 1) / 64 * 64;
  std::uint64_t breaks = BreakMaskOfPart(blockBegin + chunk, static_cast<std::size_t>(stop - blockBegin) - chunk);
  for (;;) {
    while (breaks != 0) {
      const int bit = 63 - __builtin_clzll(breaks);
      breaks &= ~(std::uint64_t{1} << bit);
      const char* const lineBreak = blockBegin + chunk + bit;
      if (lineBreak >= stop) continue;  // the CR of a CR LF already taken
      if (lineBreak == blockBegin) return stop;
      const bool loneCr = *lineBreak == kCR;
      out.AppendLine(loneCr, {lineBreak + 1, stop});
      stop = !loneCr && lineBreak[-1] == kCR ? lineBreak - 1 : lineBreak;
    }
    if (chunk == 0) return stop;
    chunk -= 64;
    breaks = BreakMask64(blockBegin + chunk);
  }
}

// Copies the line's content a block at a time, so that a line of any length moves the bar and
// can be stopped.
void CopyLine(BackwardReader& reader, const BackwardLine& line, OutputAppender& out, std::size_t blockSize,
              LineWalkProgress& progress) {
  static constexpr char kLoneCr[] = {kCR};
  static constexpr char kCrLf[] = {kCR, kLF};
  if (line.LoneCrInFront) out.Append(kLoneCr);
  const auto block = static_cast<std::int64_t>(blockSize);
  std::vector<char> scratch;
  std::int64_t from = line.Begin;
  while (from < line.End) {
    const std::int64_t pieceEnd = std::min(line.End, (from / block + 1) * block);
    out.Append(reader.BytesOf(from, pieceEnd, scratch));
    from = pieceEnd;
    if (from < line.End) progress.CopiedUpTo(line.Begin, from);
  }
  out.Append(kCrLf);
}

}  // namespace

void LineKeepRevert(const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch) {
  const std::int64_t size = files.InputSize();
  const std::size_t blockSize = context.Tuning.WorkingBlockSize();
  OutputWriter output(files, context, blockSize);
  OutputAppender out(output);
  const std::int64_t mark = text.ByteOrderMarkLength;
  out.Append(std::span(unicode::kByteOrderMark).first(static_cast<std::size_t>(mark)));
  if (size == mark) {
    watch.Finished();
    out.Finish();
    return;
  }
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  LineWalkProgress progress(meter, size, context.Stop);
  BackwardReader reader(files.Input(), size, blockSize);
  reader.ReadAheadBackwards();
  reader.OnBlockLoad([&progress](std::int64_t blockStart) { progress.ReadBackTo(blockStart); });
  reader.OnBlockRead([&watch](std::int64_t blockStart, std::span<const char> bytes) { watch.Backward(blockStart, bytes); });
  // The text begins after the mark: the walk ends there as it would at the file's start.
  ReadCursor cursor{size - 1};
  while (cursor.Offset >= mark) {
    progress.LineEndsAt(cursor.Offset + 1);
    const std::span<const char> block = reader.BlockUpTo(cursor.Offset);
    const char* stop = AppendLinesInBlock(block.data(), block.data() + block.size(), out);
    cursor.Offset = reader.BlockStart() + (stop - block.data()) - 1;
    if (cursor.Offset >= mark) {
      progress.LineEndsAt(cursor.Offset + 1);
      BackwardLine line = FindLineBackward(reader, cursor);
      line.Begin = std::max(line.Begin, mark);
      CopyLine(reader, line, out, blockSize, progress);
    }
  }
  watch.Finished();
  out.Finish();
}

}  // namespace quillon
