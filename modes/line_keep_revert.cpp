#include "modes/line_keep_revert.h"

#include <algorithm>
#include <cstring>

#include "fileio/backward_lines.h"
#include "fileio/line_breaks.h"
#include "modes/line_walk_progress.h"
#include "modes/progress_meter.h"
#include "modes/run_files.h"
#include "modes/run_output.h"

namespace quillon {

namespace {

// Each input byte yields at most three output bytes (a lone CR becomes CR CR LF), and the
// first line gains a CR LF it did not have.
std::size_t MostOutputFor(std::int64_t inputSize) { return static_cast<std::size_t>(inputSize) * 3 + 2; }

// Appends lines, each as [CR] content CR LF, to the output's room.
class LineAppender {
 public:
  explicit LineAppender(char* room) : room_(room) {}

  // Room for the content of a line of `length` bytes; Close() ends it.
  char* Open(bool loneCrInFront, std::size_t length) {
    char* at = room_ + end_;
    if (loneCrInFront) *at++ = kCR;
    end_ = static_cast<std::size_t>(at - room_) + length;
    return at;
  }
  void Close() {
    room_[end_++] = kCR;
    room_[end_++] = kLF;
  }

  [[nodiscard]] std::size_t end() const noexcept { return end_; }

 private:
  char* room_;
  std::size_t end_ = 0;
};

// Takes the lines that lie wholly inside the loaded block, ending at `stop` (one past the
// cursor), straight from the block. Returns where it stopped: at a line that starts before
// the block, or whose break might pair with a CR before it; FindLineBackward takes those.
const char* AppendLinesInBlock(const char* blockBegin, const char* stop, LineAppender& out) {
  for (;;) {
    const char* lineBreak = FindLastBreak(blockBegin, stop);
    if (lineBreak == nullptr || lineBreak == blockBegin) return stop;
    const bool loneCr = *lineBreak == kCR;
    const auto length = static_cast<std::size_t>(stop - lineBreak - 1);
    std::memcpy(out.Open(loneCr, length), lineBreak + 1, length);
    out.Close();
    stop = !loneCr && lineBreak[-1] == kCR ? lineBreak - 1 : lineBreak;
  }
}

// Copies the line's content to `to` a block at a time, so that a line of any length moves the
// bar and can be stopped.
void CopyLine(BackwardReader& reader, const BackwardLine& line, char* to, std::size_t blockSize, LineWalkProgress& progress) {
  const auto block = static_cast<std::int64_t>(blockSize);
  std::int64_t from = line.Begin;
  while (from < line.End) {
    const std::int64_t pieceEnd = std::min(line.End, (from / block + 1) * block);
    reader.CopyRange(from, pieceEnd, to + (from - line.Begin));
    from = pieceEnd;
    if (from < line.End) progress.CopiedUpTo(line.Begin, from);
  }
}

}  // namespace

void LineKeepRevert(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath, context.OutputStream >= 0);
  const std::int64_t size = files.InputSize();
  RunOutput output(files, context, size > 0 ? MostOutputFor(size) : 0);
  if (size == 0) {
    output.Finish(0);
    return;
  }
  const std::size_t blockSize = context.Tuning.WorkingBlockSize();
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  LineWalkProgress progress(meter, size, context.Stop);
  BackwardReader reader(files.Input(), size, blockSize);
  reader.OnBlockLoad([&progress](std::int64_t blockStart) { progress.ReadBackTo(blockStart); });
  ReadCursor cursor{size - 1};
  LineAppender out(output.Room());
  std::size_t settled = 0;
  while (cursor.Offset > -1) {
    progress.LineEndsAt(cursor.Offset + 1);
    const std::span<const char> block = reader.BlockUpTo(cursor.Offset);
    const char* stop = AppendLinesInBlock(block.data(), block.data() + block.size(), out);
    cursor.Offset = reader.BlockStart() + (stop - block.data()) - 1;
    if (cursor.Offset > -1) {
      progress.LineEndsAt(cursor.Offset + 1);
      const BackwardLine line = FindLineBackward(reader, cursor);
      CopyLine(reader, line, out.Open(line.LoneCrInFront, static_cast<std::size_t>(line.End - line.Begin)), blockSize, progress);
      out.Close();
    }
    if (out.end() - settled >= blockSize) {
      output.Settle(out.end());
      settled = out.end();
    }
  }
  output.Finish(out.end());
}

}  // namespace quillon
