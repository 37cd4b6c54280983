#include "modes/line_keep_revert.h"

#include <algorithm>
#include <vector>

#include "fileio/backward_lines.h"
#include "fileio/line_breaks.h"
#include "modes/line_walk_progress.h"
#include "modes/lines_backward.h"
#include "modes/progress_meter.h"
#include "modes/output_writer.h"
#include "unicode/utf8_validator.h"

namespace quillon {

namespace {

// Takes the lines that lie wholly inside the loaded block, ending at `stop`, straight from
// the block, and returns where it stopped: FindLineBackward takes the line that ends there.
// That is also how a line longer than a whole output buffer goes.
const char* AppendLinesInBlock(std::span<const char> block, const char* stop, OutputAppender& out) {
  for (;;) {
    const LinesCopied copied = CopyLinesBackward(block, stop, out.Room());
    out.Advance(copied.Written);
    stop = copied.Stop;
    if (!copied.OutOfRoom || out.HasFreshBuffer()) return stop;
    out.StartNewBuffer();
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
    const char* stop = AppendLinesInBlock(block, block.data() + block.size(), out);
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
