#include "modes/utf16_input.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <span>
#include <stop_token>

#include "fileio/block_io.h"
#include "fileio/scratch_file.h"
#include "modes/stretch_reads.h"
#include "modes/two_halves.h"
#include "unicode/utf16_text.h"
#include "unicode/utf8_validator.h"

namespace quillon {

namespace {

constexpr std::int64_t kMarkLength = static_cast<std::int64_t>(unicode::kUtf16MarkLength);

// Turns the units in [from, to) into UTF-8 written to `copy` from `writeAt`; false when they
// are not well-formed UTF-16 on their own. True as well when it stopped for the other half.
bool DecodeStretch(const FileHandle& input, std::int64_t from, std::int64_t to, const FileHandle& copy, std::int64_t writeAt,
                   unicode::Utf16Order order, const std::stop_token& stop, const std::atomic<bool>& otherFailed,
                   const std::function<void(std::int64_t done)>& beforeRead) {
  unicode::Utf16ToUtf8 decoder(order);
  const auto converted = std::make_unique_for_overwrite<char[]>(unicode::Utf16ToUtf8::MaxOutput(static_cast<std::size_t>(kExaminationReadSize)));
  const bool whole = ReadChunks(input, from, to, stop, otherFailed, beforeRead, [&](std::span<const char> piece) {
    const std::size_t length = decoder.Feed(piece, converted.get());
    if (!decoder.StillValid()) return false;
    WriteAt(copy, writeAt, {converted.get(), length});
    writeAt += static_cast<std::int64_t>(length);
    return true;
  });
  return decoder.StillValid() && (!whole || decoder.EndsValid());
}

// Where the units are cut in two for a decoder on each of the machine's cores: near their
// middle, never between the two halves of a surrogate pair.
std::int64_t SplitPoint(const FileHandle& input, std::int64_t size, unicode::Utf16Order order) {
  const std::int64_t middle = kMarkLength + (size - kMarkLength) / 4 * 2;
  char unit[2];
  ReadExactlyAt(input, middle, unit);
  const auto high = static_cast<std::uint8_t>(order == unicode::Utf16Order::LittleEndian ? unit[1] : unit[0]);
  return high >= 0xDC && high <= 0xDF ? middle + 2 : middle;
}

// The UTF-8 length of the units in [from, to), read through once.
std::int64_t Utf8LengthOf(const FileHandle& input, std::int64_t from, std::int64_t to, unicode::Utf16Order order,
                          const std::stop_token& stop, const std::atomic<bool>& otherFailed) {
  std::int64_t length = 0;
  ReadChunks(input, from, to, stop, otherFailed, [](std::int64_t) {}, [&](std::span<const char> piece) {
    length += unicode::Utf8LengthOfUnits(piece, order);
    return true;
  });
  return length;
}

// Whether the units after the mark are well-formed, turned into UTF-8 in `copy` after its
// mark. Large inputs are cut in two: the second half is decoded by a thread of its own, at the
// place it learns by counting what the first half turns into.
bool DecodeInto(const FileHandle& input, std::int64_t size, const FileHandle& copy, unicode::Utf16Order order,
                const ModeContext& context, const std::function<void(std::int64_t done)>& beforeRead) {
  const auto markLength = static_cast<std::int64_t>(unicode::kByteOrderMark.size());
  std::atomic<bool> failed = false;
  if (size < 4 * kExaminationReadSize) return DecodeStretch(input, kMarkLength, size, copy, markLength, order, context.Stop, failed, beforeRead);

  const std::int64_t split = SplitPoint(input, size, order);
  const auto scaled = FirstHalfForTheWhole(beforeRead, split, size);
  const HalvesValid valid = InTwoHalves(
      context.Stop, failed, [&] { return DecodeStretch(input, kMarkLength, split, copy, markLength, order, context.Stop, failed, scaled); },
      [&](const std::stop_token& stop) {
        const std::int64_t writeAt = markLength + Utf8LengthOf(input, kMarkLength, split, order, stop, failed);
        return DecodeStretch(input, split, size, copy, writeAt, order, stop, failed, [](std::int64_t) {});
      });
  return valid.first && valid.second;
}

// The byte order the input's mark gives, for an input that can be UTF-16.
std::optional<unicode::Utf16Order> OrderOfMark(const FileHandle& input, std::int64_t size) {
  if (size < kMarkLength || size % 2 != 0) return std::nullopt;
  char mark[unicode::kUtf16MarkLength];
  ReadExactlyAt(input, 0, mark);
  return unicode::Utf16OrderOfMark(mark);
}

}  // namespace

bool StartsAsUtf16(const FileHandle& input, std::int64_t size) { return OrderOfMark(input, size).has_value(); }

std::optional<InputText> TakeUtf16Input(RunFiles& files, const ModeContext& context,
                                        const std::function<void(std::int64_t done)>& beforeRead) {
  const FileHandle& input = files.Input();
  const std::int64_t size = files.InputSize();
  const std::optional<unicode::Utf16Order> order = OrderOfMark(input, size);
  if (!order) return std::nullopt;

  FileHandle copy = OpenScratchFile(ScratchFolder());
  WriteAt(copy, 0, unicode::kByteOrderMark);
  if (!DecodeInto(input, size, copy, *order, context, beforeRead)) return std::nullopt;
  copy.ShowAs(input.path());
  files.ReadUtf8CopyOf(std::move(copy), *order);
  return InputText{TextEncoding::Utf8, true, static_cast<std::int64_t>(unicode::kByteOrderMark.size())};
}

TextEncoding Utf16EncodingOf(unicode::Utf16Order order) noexcept {
  return order == unicode::Utf16Order::LittleEndian ? TextEncoding::Utf16LittleEndian : TextEncoding::Utf16BigEndian;
}

}  // namespace quillon
