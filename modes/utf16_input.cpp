#include "modes/utf16_input.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <span>
#include <stop_token>

#include "fileio/block_io.h"
#include "fileio/scratch_file.h"
#include "modes/two_halves.h"
#include "unicode/utf16_text.h"
#include "unicode/utf8_validator.h"

namespace quillon {

namespace {

constexpr std::int64_t kMarkLength = static_cast<std::int64_t>(unicode::kUtf16MarkLength);

// Reads [from, to) a chunk at a time, each chunk given to `take`, which returns false to end
// the reading early; returns whether it read to `to`. Stops early once `otherFailed` is set by
// the other half too, and throws RunCancelled when `stop` asks it to.
template <typename Take>
bool ReadChunks(const FileHandle& input, std::int64_t from, std::int64_t to, const std::stop_token& stop,
                const std::atomic<bool>& otherFailed, const std::function<void(std::int64_t done)>& beforeRead, Take take) {
  const std::size_t chunk = static_cast<std::size_t>(std::min(kExaminationReadSize, std::max<std::int64_t>(to - from, 1)));
  const auto read = std::make_unique_for_overwrite<char[]>(chunk);
  for (std::int64_t at = from; at < to;) {
    if (stop.stop_requested()) throw RunCancelled();
    if (otherFailed.load(std::memory_order_relaxed)) return false;
    beforeRead(at);
    const std::span<char> piece{read.get(), static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(chunk), to - at))};
    ReadExactlyAt(input, at, piece);
    if (!take(std::span<const char>(piece))) return false;
    at += static_cast<std::int64_t>(piece.size());
  }
  return true;
}

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
  // The first half counts for the whole on the bar.
  const double scale = static_cast<double>(size) / static_cast<double>(split);
  const auto scaled = [&](std::int64_t done) { beforeRead(std::min(size, static_cast<std::int64_t>(static_cast<double>(done) * scale))); };
  const HalvesValid valid = InTwoHalves(
      context.Stop, failed, [&] { return DecodeStretch(input, kMarkLength, split, copy, markLength, order, context.Stop, failed, scaled); },
      [&](const std::stop_token& stop) {
        const std::int64_t writeAt = markLength + Utf8LengthOf(input, kMarkLength, split, order, stop, failed);
        return DecodeStretch(input, split, size, copy, writeAt, order, stop, failed, [](std::int64_t) {});
      });
  return valid.first && valid.second;
}

}  // namespace

std::optional<InputText> TakeUtf16Input(RunFiles& files, const ModeContext& context,
                                        const std::function<void(std::int64_t done)>& beforeRead) {
  const FileHandle& input = files.Input();
  const std::int64_t size = files.InputSize();
  if (size < kMarkLength || size % 2 != 0) return std::nullopt;
  char mark[unicode::kUtf16MarkLength];
  ReadExactlyAt(input, 0, mark);
  const std::optional<unicode::Utf16Order> order = unicode::Utf16OrderOfMark(mark);
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
