#include "modes/simple_revert.h"

#include "modes/cluster_range_reverse.h"
#include "modes/output_writer.h"
#include "modes/progress_meter.h"
#include "modes/range_reverse.h"
#include "unicode/utf8_validator.h"

namespace quillon {

void SimpleRevert(const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch) {
  const std::int64_t size = files.InputSize();
  OutputWriter output(files, context, context.Tuning.WorkingBlockSize());
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  const auto report = [&meter](std::int64_t done) { meter.Report(done); };
  if (text.ClusterWise) {
    const std::int64_t mark = text.ByteOrderMarkLength;
    HandCopies(output, std::span(unicode::kByteOrderMark).first(static_cast<std::size_t>(mark)));
    WriteClustersReversed(files.Input(), mark, size, output, [&](std::int64_t done) { report(mark + done); },
                          context.Tuning.SplitMinimum, watch);
  } else {
    WriteRangeReversed(files.Input(), 0, size, output, report, watch);
  }
  watch.Finished();
  output.Finish();
}

}  // namespace quillon
