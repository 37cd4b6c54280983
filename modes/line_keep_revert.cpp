#include "modes/line_keep_revert.h"

#include "fileio/backward_lines.h"
#include "fileio/line_breaks.h"
#include "modes/progress_meter.h"
#include "modes/run_files.h"
#include "modes/run_output.h"

namespace quillon {

namespace {

// Each input byte yields at most three output bytes (a lone CR becomes CR CR LF), and the
// first line gains a CR LF it did not have.
std::size_t MostOutputFor(std::int64_t inputSize) { return static_cast<std::size_t>(inputSize) * 3 + 2; }

}  // namespace

void LineKeepRevert(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath);
  const std::int64_t size = files.InputSize();
  RunOutput output(context.Result, files.Output(), size > 0 ? MostOutputFor(size) : 0, context.Stop);
  if (size == 0) {
    output.Finish(0);
    return;
  }
  ProgressMeter meter(context.Progress, size, context.Tuning.ProgressStep);
  BackwardReader reader(files.Input(), size, context.Tuning.BlockSize);
  ReadCursor cursor{size - 1};
  char* const room = output.Room();
  std::size_t end = 0;
  std::size_t settled = 0;
  while (cursor.Offset > -1) {
    meter.Report(size - 1 - cursor.Offset);
    const BackwardLine line = FindLineBackward(reader, cursor);
    char* out = room + end;
    if (line.LoneCrInFront) *out++ = kCR;
    reader.CopyRange(line.Begin, line.End, out);
    out += line.End - line.Begin;
    *out++ = kCR;
    *out++ = kLF;
    end = static_cast<std::size_t>(out - room);
    if (end - settled >= context.Tuning.BlockSize) {
      output.Settle(end);
      settled = end;
    }
  }
  output.Finish(end);
}

}  // namespace quillon
