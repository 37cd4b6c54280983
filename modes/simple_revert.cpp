#include "modes/simple_revert.h"

#include <algorithm>

#include "fileio/block_io.h"
#include "modes/byte_reverse.h"
#include "modes/progress_meter.h"
#include "modes/run_files.h"
#include "modes/run_output.h"

namespace quillon {

void SimpleRevert(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath, context.OutputStream >= 0);
  const std::int64_t size = files.InputSize();
  RunOutput output(files, context, static_cast<std::size_t>(size));
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  const auto block = static_cast<std::int64_t>(context.Tuning.WorkingBlockSize());

  // Each block read from the input's end lands where it belongs in the output, then is
  // reversed in place.
  std::int64_t done = 0;
  while (done < size) {
    meter.Report(done);
    const std::int64_t length = std::min(block, size - done);
    const std::span<char> piece(output.Room() + done, static_cast<std::size_t>(length));
    ReadExactlyAt(files.Input(), size - done - length, piece);
    ReverseInPlace(piece);
    done += length;
    output.Settle(static_cast<std::size_t>(done));
  }
  output.Finish(static_cast<std::size_t>(size));
}

}  // namespace quillon
