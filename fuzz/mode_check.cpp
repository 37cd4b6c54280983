#include "fuzz/mode_check.h"

#include <sys/stat.h>

#include <exception>
#include <span>
#include <string>
#include <vector>

#include "fuzz/difference.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_folder.h"
#include "tests/fault/io_fault.h"
#include "tests/support/reference_modes.h"

namespace quillon::fuzzing {

namespace {

using testing::IoFault;

class RunRecord : public RunObserver {
 public:
  void SetProgressValue(float percent) override { values.push_back(percent); }
  void OutputWritten(std::span<const char> bytes) override { echo.append(bytes.begin(), bytes.end()); }
  void ResultStartsOver() override { echo.clear(); }
  std::vector<float> values;
  std::string echo;
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

// One value in five picks a fault, struck at an offset somewhere in the file it concerns
// or a little beyond, where it never strikes.
IoFault FaultFrom(std::uint8_t choice, std::uint16_t offset, std::size_t inputSize, std::size_t outputSize) {
  static constexpr IoFault::Kind kKinds[] = {IoFault::Kind::BadByte, IoFault::Kind::EndsEarly, IoFault::Kind::DiskFull,
                                            IoFault::Kind::WritesNothing, IoFault::Kind::Piecemeal};
  if (choice < 204) return {};
  IoFault fault;
  fault.kind = kKinds[choice % 5];
  switch (fault.kind) {
    case IoFault::Kind::BadByte:
    case IoFault::Kind::EndsEarly:
      fault.at = offset % (inputSize + 4);
      break;
    case IoFault::Kind::Piecemeal:
      fault.at = 1 + offset % 64;
      break;
    default:
      fault.at = offset % (outputSize + 4);
      break;
  }
  return fault;
}

// The one message a run with `fault` must end with, or "" when the fault does not stop it.
std::string MessageFor(const IoFault& fault, const std::string& inputPath, const std::string& outputPath, std::size_t inputSize,
                       std::size_t outputSize) {
  const auto struck = [&](std::size_t size) { return fault.at < static_cast<std::int64_t>(size); };
  switch (fault.kind) {
    case IoFault::Kind::BadByte:
      return struck(inputSize) ? "Cannot read \"" + inputPath + "\": Input/output error" : "";
    case IoFault::Kind::EndsEarly:
      return struck(inputSize) ? "Cannot read \"" + inputPath + "\": the file became shorter while it was read" : "";
    case IoFault::Kind::DiskFull:
    case IoFault::Kind::WritesNothing:
      return struck(outputSize) ? "Cannot write \"" + outputPath + "\": No space left on device" : "";
    default:
      return "";
  }
}

}  // namespace

std::int64_t ProbeFrom(std::uint8_t choice) {
  return (choice & 2) != 0 ? EngineTuning{}.EncodingProbe : 1 + (choice >> 2) % 8;
}

std::string CheckMode(RevertMode mode, std::span<const std::uint8_t> fuzzInput) {
  FuzzInput in(fuzzInput);
  EngineTuning tuning;
  tuning.BlockSize = BlockSizeFrom(in.TakeByte());
  tuning.ProgressStep = in.TakeByte();
  tuning.EncodingProbe = ProbeFrom(static_cast<std::uint8_t>(tuning.ProgressStep));
  const std::uint8_t faultChoice = in.TakeByte();
  const std::uint16_t faultOffset = in.TakeWord();
  return CheckModeOn(mode, tuning, faultChoice, faultOffset, in.Rest());
}

std::string CheckModeOn(RevertMode mode, EngineTuning tuning, std::uint8_t faultChoice, std::uint16_t faultOffset,
                        std::string_view content) {
  const std::string expected = testing::Reference(mode, content);
  const testing::TempFolder& folder = ScratchFolder();
  IoFault fault = FaultFrom(faultChoice, faultOffset, content.size(), expected.size());
  fault.within = folder.path();

  const std::string inputPath = folder.Write("input.txt", content);
  const std::string earlier(content.size() * 3 + 5, '~');  // longer than any result
  const std::string outputPath = folder.Write("input.txt_rev.txt", earlier);
  if (::chmod(outputPath.c_str(), kEarlierOutputBits) != 0) return "cannot set up the earlier output";
  const std::string message = MessageFor(fault, inputPath, outputPath, content.size(), expected.size());

  RunRecord progress;
  std::string error;
  try {
    const testing::InjectedIoFault injected(fault);
    RunMode(mode, ModeContext{inputPath, outputPath, progress, {}, tuning});
  } catch (const std::exception& thrown) {
    error = thrown.what();
  }

  std::string found = Difference("message", error, message);
  const std::optional<std::string> output = ReadFileBytes(outputPath);
  if (found.empty() && !output) found = "no output file";
  if (found.empty()) found = Difference("output file", *output, message.empty() ? expected : earlier);
  if (found.empty() && message.empty()) found = Difference("result text", progress.echo, expected);
  if (found.empty()) found = ProgressFault(progress.values);
  if (found.empty()) found = Difference("input file", ReadFileBytes(inputPath).value_or("<unreadable>"), content);
  if (found.empty()) found = Difference("folder", folder.Listing(), "input.txt input.txt_rev.txt");
  struct stat info {};
  if (found.empty() && (::stat(outputPath.c_str(), &info) != 0 || (info.st_mode & 07777) != kEarlierOutputBits))
    found = "the output lost the earlier output's permission bits";
  if (found.empty()) return "";
  return found + " (block size " + std::to_string(tuning.BlockSize) + ", progress step " + std::to_string(tuning.ProgressStep) +
         ", fault " + std::to_string(static_cast<int>(fault.kind)) + " at " + std::to_string(fault.at) + ", input of " +
         std::to_string(content.size()) + " bytes)";
}

}  // namespace quillon::fuzzing
