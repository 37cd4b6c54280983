#include "fuzz/utf8_mode_check.h"

#include <iterator>

#include "fuzz/fuzz_input.h"
#include "fuzz/mode_check.h"
#include "fuzz/rule_code_points.h"
#include "tests/unicode/utf8_text.h"
#include "unicode/utf8_validator.h"

namespace quillon::fuzzing {

std::string CheckUtf8Modes(std::span<const std::uint8_t> fuzzInput) {
  static constexpr RevertMode kModes[] = {RevertMode::SimpleRevert, RevertMode::LineKeep, RevertMode::RevertLine};
  FuzzInput in(fuzzInput);
  const RevertMode mode = kModes[in.TakeByte() % std::size(kModes)];
  EngineTuning tuning;
  tuning.BlockSize = BlockSizeFrom(in.TakeByte());
  tuning.ProgressStep = in.TakeByte();
  // Odd steps split every block between two threads as well.
  if (tuning.ProgressStep & 1) tuning.SplitMinimum = 0;
  std::string text;
  if (in.TakeByte() & 1) text += unicode::kByteOrderMark;
  for (const char byte : in.Rest()) {
    const auto value = static_cast<unsigned char>(byte);
    testing::AppendUtf8(text, value < 0x80 ? value : kRuleCodePoints[value % std::size(kRuleCodePoints)]);
  }
  return CheckModeOn(mode, tuning, 0, 0, text);
}

}  // namespace quillon::fuzzing
