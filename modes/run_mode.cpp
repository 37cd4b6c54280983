#include "modes/run_mode.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "modes/encoding_watch.h"
#include "modes/input_text.h"
#include "modes/line_keep_revert.h"
#include "modes/progress_meter.h"
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

RunFiles OpenRunFiles(const ModeContext& context) {
  const bool toStream = context.OutputStream.has_value();
  if (!context.InputStream) return RunFiles(context.InputPath, context.OutputPath, toStream);
  return RunFiles(*context.InputStream, context.InputPath, context.OutputPath, toStream, [&context] {
    if (context.Stop.stop_requested()) throw RunCancelled();
  });
}

ModeContext ReportingTo(const ModeContext& context, RunObserver& observer) {
  return {context.InputPath, context.OutputPath, observer,           context.Stop,
          context.Tuning,    context.OutputStream, context.ForceBytes, context.InputStream};
}

void RunOn(RevertMode mode, const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      SimpleRevert(context, files, text, watch);
      return;
    case RevertMode::LineKeep:
      LineKeepRevert(context, files, text, watch);
      return;
    case RevertMode::RevertLine:
      RevertLine(context, files, text, watch);
      return;
  }
}

void RunSettled(RevertMode mode, const ModeContext& context, RunFiles& files, const InputText& text) {
  context.Observer.EncodingChosen(ShownEncoding(files, text));
  EncodingWatch settled;
  RunOn(mode, context, files, text, settled);
}

// Passes everything on and keeps the furthest progress shown, so that a later pass can go on
// from there.
class ProgressShown : public ProgressShare {
 public:
  explicit ProgressShown(RunObserver& target) noexcept : ProgressShare(target, 0, 100) {}
  void SetProgressValue(float percent) override {
    furthest_ = std::max(furthest_, percent);
    ProgressShare::SetProgressValue(percent);
  }
  [[nodiscard]] float Furthest() const noexcept { return furthest_; }

 private:
  float furthest_ = 0;
};

// The run on what is left of the bar.
void RunOnTheRest(RevertMode mode, const ModeContext& context, ProgressShown& shown, RunFiles& files, const InputText& text,
                  EncodingWatch& watch) {
  ProgressShare rest(shown, shown.Furthest(), 100.0F - shown.Furthest());
  RunOn(mode, ReportingTo(context, rest), files, text, watch);
}

// Where the input's encoding is chosen by reading it through: UTF-16 after its byte-order mark,
// otherwise UTF-8 text or bytes.
InputText ChooseEncoding(RunFiles& files, const ModeContext& context, const std::function<void(std::int64_t done)>& beforeRead) {
  if (const std::optional<InputText> utf16 = TakeUtf16Input(files, context, beforeRead)) return *utf16;
  return ExamineInput(files.Input(), files.InputSize(), context, beforeRead);
}

// The input read through once first, to settle its encoding, and then the run.
void RunAfterExamining(RevertMode mode, const ModeContext& context, RunFiles& files) {
  const std::int64_t size = files.InputSize();
  if (size <= kExaminationReadSize) {
    RunSettled(mode, context, files, ChooseEncoding(files, context, [](std::int64_t) {}));
    return;
  }
  ProgressShare examining(context.Observer, 0, kExaminationShare);
  ProgressMeter meter(examining, size, context.Tuning.ProgressStep);
  const InputText text = ChooseEncoding(files, context, [&meter](std::int64_t done) { meter.Report(done); });
  ProgressShare running(context.Observer, kExaminationShare, 100.0F - kExaminationShare);
  RunSettled(mode, ReportingTo(context, running), files, text);
}

// What a run that starts on `guess` checks as it goes.
EncodingWatch WatchFor(const EncodingGuess& guess, RunFiles& files, const ModeContext& context) {
  if (guess.Settled) return {};
  if (guess.Text.ClusterWise) return EncodingWatch::ExpectingUtf8(files.InputSize(), guess.Text.ByteOrderMarkLength);
  return EncodingWatch::ExpectingAscii([&files, &context] { return ExamineInput(files.Input(), files.InputSize(), context, [](std::int64_t) {}); });
}

}  // namespace

void RunMode(RevertMode mode, const ModeContext& context) {
  RunFiles files = OpenRunFiles(context);
  if (context.ForceBytes) {
    RunSettled(mode, context, files, {});
    return;
  }
  const std::int64_t probe = std::max<std::int64_t>(context.Tuning.EncodingProbe, 1);
  // A result that goes to a stream cannot be taken back, and UTF-16 text is decoded whole
  // first anyway: those inputs are read through before the run.
  if (context.OutputStream || files.InputSize() <= 2 * probe || StartsAsUtf16(files.Input(), files.InputSize())) {
    RunAfterExamining(mode, context, files);
    return;
  }
  // Every other input is run on at once, as its ends suggest, and checked as it is read: only
  // text that turns out otherwise further on is run on again.
  ProgressShown shown(context.Observer);
  const EncodingGuess guess = GuessFromEnds(files.Input(), files.InputSize(), probe);
  const ModeContext throughShown = ReportingTo(context, shown);
  InputText text = guess.Text;
  context.Observer.EncodingChosen(ShownEncoding(files, text));
  try {
    EncodingWatch watch = WatchFor(guess, files, context);
    RunOnTheRest(mode, throughShown, shown, files, text, watch);
    return;
  } catch (const EncodingRestart& restart) {
    text = restart.Text;
  }
  files.StartOutputOver();
  context.Observer.ResultStartsOver();
  context.Observer.EncodingChosen(ShownEncoding(files, text));
  EncodingWatch settled;
  RunOnTheRest(mode, throughShown, shown, files, text, settled);
}

}  // namespace quillon
