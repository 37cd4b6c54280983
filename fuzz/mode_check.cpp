#include "fuzz/mode_check.h"

#include <sys/stat.h>

#include <exception>
#include <vector>

#include "fuzz/difference.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/reference_modes.h"

namespace quillon::fuzzing {

namespace {

class ProgressRecord : public ProgressSink {
 public:
  void SetProgressValue(float percent) override { values.push_back(percent); }
  std::vector<float> values;
};

std::string ProgressFault(const std::vector<float>& values) {
  float last = 0;
  for (const float value : values) {
    if (!(value >= 0 && value <= 100)) return "progress value " + std::to_string(value) + " outside 0 to 100";
    if (value < last) return "progress went back from " + std::to_string(last) + " to " + std::to_string(value);
    last = value;
  }
  return "";
}

constexpr mode_t kEarlierOutputBits = 0640;

}  // namespace

std::string CheckMode(RevertMode mode, std::span<const std::uint8_t> fuzzInput) {
  FuzzInput in(fuzzInput);
  EngineTuning tuning;
  tuning.BlockSize = BlockSizeFrom(in.TakeByte());
  tuning.ProgressStep = in.TakeByte();
  const std::string_view content = in.Rest();

  const ScratchFolder& folder = ScratchFolder::ForThisProcess();
  const std::string inputPath = folder.Write("input.txt", content);
  const std::string outputPath = folder.Write("input.txt_rev.txt", std::string(content.size() * 3 + 5, '~'));
  if (::chmod(outputPath.c_str(), kEarlierOutputBits) != 0) return "cannot set up the earlier output";

  ResultText result;
  ProgressRecord progress;
  try {
    RunMode(mode, ModeContext{inputPath, outputPath, result, progress, {}, tuning});
  } catch (const std::exception& error) {
    return std::string("the run failed: ") + error.what();
  }

  const std::string expected = testing::Reference(mode, content);
  const std::optional<std::string> output = ReadFileBytes(outputPath);
  if (!output) return "no output file";
  std::string fault = Difference("output file", *output, expected);
  if (fault.empty()) fault = Difference("result text", result.Text(), expected);
  if (fault.empty()) fault = ProgressFault(progress.values);
  if (fault.empty()) fault = Difference("input file", ReadFileBytes(inputPath).value_or("<unreadable>"), content);
  if (fault.empty()) fault = Difference("folder", folder.Listing(), "input.txt input.txt_rev.txt");
  struct stat info {};
  if (fault.empty() && (::stat(outputPath.c_str(), &info) != 0 || (info.st_mode & 07777) != kEarlierOutputBits))
    fault = "the output lost the earlier output's permission bits";
  if (fault.empty()) return "";
  return fault + " (block size " + std::to_string(tuning.BlockSize) + ", progress step " + std::to_string(tuning.ProgressStep) +
         ", input of " + std::to_string(content.size()) + " bytes)";
}

}  // namespace quillon::fuzzing
