#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "modes/run_mode.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {

// What one run of a mode left behind.
struct ModeRun {
  std::string output;  // the output file's bytes, or "<none>" when there is no output file
  std::string echo;    // the result text
  std::vector<float> progress;
  std::string error;   // the message of a failed run
  std::optional<TextEncoding> encoding;  // as the run chose it, if it told
  bool encodingBeforeOutput = false;     // whether it told before the output was opened
  int startsOver = 0;                    // how often it dropped its result and began again
};

// An observer that keeps every progress value and the output it was shown.
class RunLog : public RunObserver {
 public:
  void SetProgressValue(float percent) override { values.push_back(percent); }
  void OutputWritten(std::span<const char> bytes) override { echo.append(bytes.begin(), bytes.end()); }
  void EncodingChosen(TextEncoding chosen) override {
    encoding = chosen;
    encodingBeforeOutput = !outputOpened;
  }
  void OutputOpened(FileHandle /*output*/) override { outputOpened = true; }
  void ResultStartsOver() override {
    echo.clear();
    outputOpened = false;
    ++startsOver;
  }
  std::vector<float> values;
  std::string echo;
  std::optional<TextEncoding> encoding;
  bool encodingBeforeOutput = false;
  bool outputOpened = false;
  int startsOver = 0;
};

// Runs `mode` on `input.txt` holding `input` inside `folder`, writing `input.txt_rev.txt`.
// With `forceBytes`, even UTF-8 text is read as bytes.
ModeRun RunMode(const TempFolder& folder, RevertMode mode, std::string_view input, EngineTuning tuning = {},
                bool forceBytes = false);

// The same in a folder of its own.
ModeRun RunMode(RevertMode mode, std::string_view input, EngineTuning tuning = {}, bool forceBytes = false);

// Spells bytes out readably: letters as they are, CR and LF by name, others as \xNN.
std::string Spelled(std::string_view bytes);

inline constexpr RevertMode kAllModes[] = {RevertMode::SimpleRevert, RevertMode::LineKeep, RevertMode::RevertLine};

}  // namespace quillon::testing
