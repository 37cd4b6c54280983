#include "modes/run_mode.h"

#include "modes/input_text.h"
#include "modes/progress_meter.h"
#include "modes/line_keep_revert.h"
#include "modes/progress_share.h"
#include "modes/revert_line.h"
#include "modes/run_files.h"
#include "modes/simple_revert.h"
#include "modes/utf16_input.h"

namespace quillon {

namespace {

// The share of the bar that reading the input through once before the run takes. An input
// read in one piece shows no progress of its own there.
constexpr float kExaminationShare = 10.0F;

// Text of ASCII bytes only reads the same either way; it is shown as bytes, as it always was.
// UTF-16 text is always shown as text: its bytes are not characters.
TextEncoding ShownEncoding(const RunFiles& files, const InputText& text) {
  if (const std::optional<unicode::Utf16Order> order = files.OutputUtf16()) return Utf16EncodingOf(*order);
  return text.ClusterWise ? TextEncoding::Utf8 : TextEncoding::Bytes;
}

// Where the input's encoding is chosen: UTF-16 after its byte-order mark, otherwise UTF-8
// text or bytes.
InputText ChooseEncoding(RunFiles& files, const ModeContext& context, const std::function<void(std::int64_t done)>& beforeRead) {
  if (const std::optional<InputText> utf16 = TakeUtf16Input(files, context, beforeRead)) return *utf16;
  return ExamineInput(files.Input(), files.InputSize(), context, beforeRead);
}

RunFiles OpenRunFiles(const ModeContext& context) {
  const bool toStream = context.OutputStream.has_value();
  if (!context.InputStream) return RunFiles(context.InputPath, context.OutputPath, toStream);
  return RunFiles(*context.InputStream, context.InputPath, context.OutputPath, toStream, [&context] {
    if (context.Stop.stop_requested()) throw RunCancelled();
  });
}

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
  RunFiles files = OpenRunFiles(context);
  const std::int64_t size = files.InputSize();
  if (context.ForceBytes) {
    context.Observer.EncodingChosen(TextEncoding::Bytes);
    RunOn(mode, context, files, {});
    return;
  }
  if (size <= kExaminationReadSize) {
    const InputText text = ChooseEncoding(files, context, [](std::int64_t) {});
    context.Observer.EncodingChosen(ShownEncoding(files, text));
    RunOn(mode, context, files, text);
    return;
  }
  ProgressShare examining(context.Observer, 0, kExaminationShare);
  ProgressMeter meter(examining, size, context.Tuning.ProgressStep);
  const InputText text = ChooseEncoding(files, context, [&meter](std::int64_t done) { meter.Report(done); });
  context.Observer.EncodingChosen(ShownEncoding(files, text));
  ProgressShare running(context.Observer, kExaminationShare, 100.0F - kExaminationShare);
  const ModeContext shifted{context.InputPath, context.OutputPath, running,        context.Stop,
                            context.Tuning,    context.OutputStream, context.ForceBytes, context.InputStream};
  RunOn(mode, shifted, files, text);
}

}  // namespace quillon
