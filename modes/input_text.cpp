#include "modes/input_text.h"

#include <algorithm>
#include <vector>

#include "fileio/block_io.h"
#include "unicode/ascii_runs.h"
#include "unicode/utf8_validator.h"

namespace quillon {

std::int64_t ExaminationReadSize(const ModeContext& context) noexcept {
  return static_cast<std::int64_t>(std::max(context.Tuning.WorkingBlockSize(), kDefaultBlockSize));
}

InputText ExamineInput(const FileHandle& input, std::int64_t size, const ModeContext& context,
                       const std::function<void(std::int64_t done)>& beforeRead) {
  std::vector<char> chunk(static_cast<std::size_t>(std::min(ExaminationReadSize(context), std::max<std::int64_t>(size, 1))));
  unicode::Utf8Validator validator;
  bool sawNonAscii = false;
  bool startsWithMark = false;
  for (std::int64_t at = 0; at < size;) {
    if (context.Stop.stop_requested()) throw RunCancelled();
    beforeRead(at);
    const std::span<char> piece{chunk.data(), static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size()), size - at))};
    ReadExactlyAt(input, at, piece);
    if (at == 0) startsWithMark = unicode::StartsWithByteOrderMark(piece);
    // Most text is ASCII for long stretches: one scan settles those, the validator the rest.
    const bool asciiOnly = unicode::detail::FindFirstNonAscii(piece.data(), piece.data() + piece.size()) == piece.data() + piece.size();
    if (!asciiOnly || !validator.EndsValid()) {
      sawNonAscii = sawNonAscii || !asciiOnly;
      validator.Feed(piece);
      if (!validator.StillValid()) return {};
    }
    at += static_cast<std::int64_t>(piece.size());
  }
  if (!validator.EndsValid()) return {};
  return {TextEncoding::Utf8, sawNonAscii, startsWithMark ? static_cast<std::int64_t>(unicode::kByteOrderMark.size()) : 0};
}

}  // namespace quillon
