#include "modes/input_text.h"

#include <algorithm>
#include <atomic>
#include <stop_token>
#include <vector>

#include "fileio/block_io.h"
#include "modes/stretch_reads.h"
#include "modes/two_halves.h"
#include "unicode/ascii_runs.h"
#include "unicode/utf8_decode.h"
#include "unicode/utf8_validator.h"

namespace quillon {

namespace {

// What one stretch of the input holds.
struct StretchVerdict {
  bool valid = true;
  bool nonAscii = false;
};

// Reads [from, to) a piece at a time and checks it. `from` must begin a sequence (or be a
// stray continuation byte, which the check then finds). Stops early once `otherFailed` is
// set by the check of another stretch, or `stop` asks it to.
StretchVerdict ExamineStretch(const FileHandle& input, std::int64_t from, std::int64_t to, const std::stop_token& stop,
                              const std::atomic<bool>& otherFailed, const std::function<void(std::int64_t done)>& beforeRead) {
  unicode::Utf8Validator validator;
  StretchVerdict verdict;
  const bool whole = ReadChunks(input, from, to, stop, otherFailed, beforeRead, [&](std::span<const char> piece) {
    // Most text is ASCII for long stretches: one scan settles those, the validator the rest.
    const bool asciiOnly = unicode::IsAllAscii(piece);
    if (!asciiOnly || !validator.EndsValid()) {
      verdict.nonAscii = verdict.nonAscii || !asciiOnly;
      validator.Feed(piece);
    }
    return validator.StillValid();
  });
  if (!validator.StillValid()) return {false, true};
  if (whole) verdict.valid = validator.EndsValid();
  return verdict;
}

// Where the input is cut in two for a check on each of the machine's cores: near its middle,
// moved on to the start of a sequence.
std::int64_t SplitPoint(const FileHandle& input, std::int64_t size) {
  const std::int64_t middle = size / 2;
  char bytes[4];
  ReadExactlyAt(input, middle, bytes);
  return middle + static_cast<std::int64_t>(unicode::LeadingContinuationBytes(bytes, unicode::kMostContinuationBytes));
}

// What the bytes at the input's start, or at its end, hold. The head may stop inside a
// sequence; the tail's first continuation bytes end one that began before it.
StretchVerdict CheckEnd(std::span<const char> bytes, bool isTail) {
  if (isTail) {
    const std::size_t leading = unicode::LeadingContinuationBytes(bytes, unicode::kMostContinuationBytes + 1);
    if (leading > unicode::kMostContinuationBytes) return {false, true};
    bytes = bytes.subspan(leading);
  }
  if (unicode::IsAllAscii(bytes)) return {};
  unicode::Utf8Validator validator;
  validator.Feed(bytes);
  return {isTail ? validator.EndsValid() : validator.StillValid(), true};
}

}  // namespace

EncodingGuess GuessFromEnds(const FileHandle& input, std::int64_t size, std::int64_t probe) {
  const std::int64_t length = std::min(std::max<std::int64_t>(probe, 1), size / 2);
  // The head holds a byte-order mark whole, however small the probe.
  const auto markLength = static_cast<std::int64_t>(unicode::kByteOrderMark.size());
  std::vector<char> head(static_cast<std::size_t>(std::min(size, std::max(length, markLength))));
  std::vector<char> tail(static_cast<std::size_t>(length));
  ReadExactlyAt(input, 0, head);
  ReadExactlyAt(input, size - length, tail);
  const StretchVerdict first = CheckEnd(head, false);
  const StretchVerdict last = CheckEnd(tail, true);
  if (!first.valid || !last.valid) return {{}, true};
  if (!first.nonAscii && !last.nonAscii) return {{TextEncoding::Utf8, false, 0}, false};
  const std::int64_t mark = unicode::StartsWithByteOrderMark(head) ? markLength : 0;
  return {{TextEncoding::Utf8, true, mark}, false};
}

InputText ExamineInput(const FileHandle& input, std::int64_t size, const ModeContext& context,
                       const std::function<void(std::int64_t done)>& beforeRead) {
  // The bar shows the examination at once, even when the other half settles it first.
  beforeRead(0);
  std::atomic<bool> failed = false;
  StretchVerdict first;
  StretchVerdict second;
  if (size < 4 * kExaminationReadSize) {
    first = ExamineStretch(input, 0, size, context.Stop, failed, beforeRead);
  } else {
    // Copying the input out of the page cache is most of the pass: two threads halve it. The
    // second half reports no progress; the first counts for the whole.
    const std::int64_t split = SplitPoint(input, size);
    const auto scaled = FirstHalfForTheWhole(beforeRead, split, size);
    InTwoHalves(
        context.Stop, failed,
        [&] {
          first = ExamineStretch(input, 0, split, context.Stop, failed, scaled);
          return first.valid;
        },
        [&](const std::stop_token& stop) {
          second = ExamineStretch(input, split, size, stop, failed, [](std::int64_t) {});
          return second.valid;
        });
  }
  if (!first.valid || !second.valid) return {};
  std::int64_t mark = 0;
  if (first.nonAscii && size >= static_cast<std::int64_t>(unicode::kByteOrderMark.size())) {
    // Only within the size taken at the start: a read at the end of a shorter input would
    // ask the file for bytes it does not have.
    char start[unicode::kByteOrderMark.size()] = {};
    ReadExactlyAt(input, 0, start);
    if (unicode::StartsWithByteOrderMark(start)) mark = static_cast<std::int64_t>(unicode::kByteOrderMark.size());
  }
  return {TextEncoding::Utf8, first.nonAscii || second.nonAscii, mark};
}

}  // namespace quillon
