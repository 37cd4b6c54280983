#include "modes/revert_line.h"

#include <algorithm>

#include "fileio/block_io.h"
#include "fileio/line_breaks.h"
#include "modes/byte_reverse.h"
#include "modes/progress_meter.h"
#include "modes/run_files.h"
#include "modes/run_output.h"

namespace quillon {

// With breaks kept in place, reversing each line's content is reversing every run of bytes
// that holds no CR or LF. The input is read straight into the output's room, where each run
// is reversed as soon as its end is known.
void RevertLine(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath);
  const std::int64_t size = files.InputSize();
  RunOutput output(context.Result, files.Output(), static_cast<std::size_t>(size), context.Stop);
  ProgressMeter meter(context.Progress, size, context.Tuning.ProgressStep);
  const auto block = static_cast<std::int64_t>(context.Tuning.BlockSize);
  char* const room = output.Room();

  std::int64_t read = 0;
  char* lineStart = room;  // the first byte of the line whose end has not been read yet
  while (read < size) {
    meter.Report(read);
    const std::int64_t length = std::min(block, size - read);
    ReadExactlyAt(files.Input(), read, {room + read, static_cast<std::size_t>(length)});
    read += length;
    char* const readEnd = room + read;
    while (const char* lineBreak = FindFirstBreak(lineStart, readEnd)) {
      ReverseInPlace({lineStart, static_cast<std::size_t>(lineBreak - lineStart)});
      lineStart += SkipBreaks(lineBreak, readEnd) - lineStart;
    }
    output.Settle(static_cast<std::size_t>(lineStart - room));
  }
  ReverseInPlace({lineStart, static_cast<std::size_t>(room + size - lineStart)});
  output.Finish(static_cast<std::size_t>(size));
}

}  // namespace quillon
