#include "modes/simple_revert.h"

#include "modes/output_writer.h"
#include "modes/progress_meter.h"
#include "modes/range_reverse.h"
#include "modes/run_files.h"

namespace quillon {

void SimpleRevert(const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath, context.OutputStream >= 0);
  const std::int64_t size = files.InputSize();
  OutputWriter output(files, context, context.Tuning.WorkingBlockSize());
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  WriteRangeReversed(files.Input(), 0, size, output, [&meter](std::int64_t done) { meter.Report(done); });
  output.Finish();
}

}  // namespace quillon
