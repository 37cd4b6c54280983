#include "fuzz/utf8_mode_check.h"

#include <iterator>

#include "fuzz/fuzz_input.h"
#include "fuzz/mode_check.h"
#include "fuzz/rule_code_points.h"
#include "tests/support/reference_modes.h"
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
  tuning.EncodingProbe = ProbeFrom(static_cast<std::uint8_t>(tuning.ProgressStep));
  // Bit 0: a UTF-8 byte-order mark; bits 1 and 2: UTF-16 instead, little- or big-endian;
  // bit 3 with UTF-16: one code unit made a lone surrogate, which makes the file bytes; bit 3
  // with UTF-8: one byte made 0xFF, the top four bits telling where, which does the same.
  const std::uint8_t form = in.TakeByte();
  std::string text;
  if ((form & 6) == 0 && (form & 1)) text += unicode::kByteOrderMark;
  for (const char byte : in.Rest()) {
    const auto value = static_cast<unsigned char>(byte);
    testing::AppendUtf8(text, value < 0x80 ? value : kRuleCodePoints[value % std::size(kRuleCodePoints)]);
  }
  if ((form & 6) == 0 && (form & 8) && !text.empty()) text[(form >> 4) * text.size() / 16] = '\xFF';
  if ((form & 6) != 0) {
    const bool littleEndian = (form & 2) != 0;
    text = testing::ReferenceUtf16Of(text, littleEndian);
    if ((form & 8) && text.size() > 2) {
      const std::size_t unit = 2 + (static_cast<std::size_t>(form >> 4) * 2) % (text.size() - 2);
      text[unit + (littleEndian ? 1 : 0)] = '\xDC';
    }
  }
  return CheckModeOn(mode, tuning, 0, 0, text);
}

}  // namespace quillon::fuzzing
