#include "modes/input_text.h"

#include <algorithm>
#include <atomic>
#include <stop_token>
#include <vector>

#include "fileio/block_io.h"
#include "modes/stretch_reads.h"
#include "modes/two_halves.h"
#include "unicode/ascii_runs.h"
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
    const bool asciiOnly = unicode::detail::FindFirstNonAscii(piece.data(), piece.data() + piece.size()) == piece.data() + piece.size();
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
  std::int64_t at = 0;
  while (at < 3 && (static_cast<unsigned char>(bytes[at]) & 0xC0u) == 0x80u) ++at;
  return middle + at;
}

struct EndVerdict {
  bool valid = true;
  bool nonAscii = false;
};

EndVerdict CheckEnd(std::span<const char> bytes, bool cutAtStart, bool cutAtEnd) {
  if (cutAtStart) {
    // The continuation bytes there finish a sequence that began before the probe.
    std::size_t leading = 0;
    while (leading < bytes.size() && (static_cast<unsigned char>(bytes[leading]) & 0xC0U) == 0x80U) ++leading;
    if (leading > 3) return {false, true};
    bytes = bytes.subspan(leading);
  }
  const char* end = bytes.data() + bytes.size();
  if (unicode::detail::FindFirstNonAscii(bytes.data(), end) == end) return {};
  unicode::Utf8Validator validator;
  validator.Feed(bytes);
  return {cutAtEnd ? validator.StillValid() : validator.EndsValid(), true};
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
  const EndVerdict first = CheckEnd(head, false, true);
  const EndVerdict last = CheckEnd(tail, true, false);
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
