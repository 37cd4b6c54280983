#include "modes/utf16_input.h"

#include <algorithm>
#include <memory>
#include <span>

#include "fileio/block_io.h"
#include "fileio/scratch_file.h"
#include "unicode/utf16_text.h"
#include "unicode/utf8_validator.h"

namespace quillon {

std::optional<InputText> TakeUtf16Input(RunFiles& files, const ModeContext& context,
                                        const std::function<void(std::int64_t done)>& beforeRead) {
  const FileHandle& input = files.Input();
  const std::int64_t size = files.InputSize();
  if (size < static_cast<std::int64_t>(unicode::kUtf16MarkLength) || size % 2 != 0) return std::nullopt;
  char mark[unicode::kUtf16MarkLength];
  ReadExactlyAt(input, 0, mark);
  const std::optional<unicode::Utf16Order> order = unicode::Utf16OrderOfMark(mark);
  if (!order) return std::nullopt;

  FileHandle copy = OpenScratchFile(ScratchFolder());
  WriteAt(copy, 0, unicode::kByteOrderMark);
  std::int64_t written = static_cast<std::int64_t>(unicode::kByteOrderMark.size());
  unicode::Utf16ToUtf8 decoder(*order);
  const std::size_t chunk = static_cast<std::size_t>(std::min(kExaminationReadSize, size));
  const auto read = std::make_unique_for_overwrite<char[]>(chunk);
  const auto converted = std::make_unique_for_overwrite<char[]>(unicode::Utf16ToUtf8::MaxOutput(chunk));
  for (std::int64_t at = static_cast<std::int64_t>(unicode::kUtf16MarkLength); at < size;) {
    if (context.Stop.stop_requested()) throw RunCancelled();
    beforeRead(at);
    const std::span<char> piece{read.get(), static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(chunk), size - at))};
    ReadExactlyAt(input, at, piece);
    const std::size_t length = decoder.Feed(piece, converted.get());
    if (!decoder.StillValid()) return std::nullopt;
    WriteAt(copy, written, {converted.get(), length});
    written += static_cast<std::int64_t>(length);
    at += static_cast<std::int64_t>(piece.size());
  }
  if (!decoder.EndsValid()) return std::nullopt;
  copy.ShowAs(input.path());
  files.ReadUtf8CopyOf(std::move(copy), *order);
  return InputText{TextEncoding::Utf8, true, static_cast<std::int64_t>(unicode::kByteOrderMark.size())};
}

TextEncoding Utf16EncodingOf(unicode::Utf16Order order) noexcept {
  return order == unicode::Utf16Order::LittleEndian ? TextEncoding::Utf16LittleEndian : TextEncoding::Utf16BigEndian;
}

}  // namespace quillon
