#pragma once

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
};

// A progress sink that keeps every value.
class ProgressLog : public ProgressSink {
 public:
  void SetProgressValue(float percent) override { values.push_back(percent); }
  std::vector<float> values;
};

// Runs `mode` on `input.txt` holding `input` inside `folder`, writing `input.txt_rev.txt`.
ModeRun RunMode(const TempFolder& folder, RevertMode mode, std::string_view input, EngineTuning tuning = {});

// The same in a folder of its own.
ModeRun RunMode(RevertMode mode, std::string_view input, EngineTuning tuning = {});

// Spells bytes out readably: letters as they are, CR and LF by name, others as \xNN.
std::string Spelled(std::string_view bytes);

inline constexpr RevertMode kAllModes[] = {RevertMode::SimpleRevert, RevertMode::LineKeep, RevertMode::RevertLine};

}  // namespace quillon::testing
