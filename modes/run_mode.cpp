#include "modes/run_mode.h"

#include "modes/input_text.h"
#include "modes/progress_meter.h"
#include "modes/line_keep_revert.h"
#include "modes/progress_share.h"
#include "modes/revert_line.h"
#include "modes/run_files.h"
#include "modes/simple_revert.h"

namespace quillon {

namespace {

// The share of the bar that reading the input through once before the run takes. An input
// read in one piece shows no progress of its own there.
constexpr float kExaminationShare = 10.0F;

// Text of ASCII bytes only reads the same either way; it is shown as bytes, as it always was.
TextEncoding ShownEncoding(const InputText& text) { return text.ClusterWise ? TextEncoding::Utf8 : TextEncoding::Bytes; }

void RunOn(RevertMode mode, const ModeContext& context, RunFiles& files, const InputText& text) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      SimpleRevert(context, files, text);
      return;
    case RevertMode::LineKeep:
      LineKeepRevert(context, files, text);
      return;
    case RevertMode::RevertLine:
      RevertLine(context, files, text);
      return;
  }
}

}  // namespace

void RunMode(RevertMode mode, const ModeContext& context) {
  RunFiles files(context.InputPath, context.OutputPath, context.OutputStream >= 0);
  const std::int64_t size = files.InputSize();
  if (context.ForceBytes) {
    context.Observer.EncodingChosen(TextEncoding::Bytes);
    RunOn(mode, context, files, {});
    return;
  }
  if (size <= kExaminationReadSize) {
    const InputText text = ExamineInput(files.Input(), size, context, [](std::int64_t) {});
    context.Observer.EncodingChosen(ShownEncoding(text));
    RunOn(mode, context, files, text);
    return;
  }
  ProgressShare examining(context.Observer, 0, kExaminationShare);
  ProgressMeter meter(examining, size, context.Tuning.ProgressStep);
  const InputText text = ExamineInput(files.Input(), size, context, [&meter](std::int64_t done) { meter.Report(done); });
  context.Observer.EncodingChosen(ShownEncoding(text));
  ProgressShare running(context.Observer, kExaminationShare, 100.0F - kExaminationShare);
  const ModeContext shifted{context.InputPath, context.OutputPath, running,        context.Stop,
                            context.Tuning,    context.OutputStream, context.ForceBytes};
  RunOn(mode, shifted, files, text);
}

}  // namespace quillon
