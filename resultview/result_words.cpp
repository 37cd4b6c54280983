#include "resultview/result_words.h"

#include <algorithm>
#include <string>

#include "resultview/cluster_words.h"
#include "resultview/result_caret.h"
#include "resultview/result_word_bytes.h"

namespace quillon {

namespace {

enum class CharacterKind { Word, Blank, Other };

CharacterKind KindOf(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (IsWordByte(value)) return CharacterKind::Word;
  if (IsBlankByte(value)) return CharacterKind::Blank;
  return CharacterKind::Other;
}

// Columns [from, to) of `line`, as far as they can still be read: where the text has become
// shorter, the piece is too.
class LinePiece {
 public:
  LinePiece(const ResultLines& lines, std::uint64_t line, std::uint64_t from, std::uint64_t to)
      : from_(from), bytes_(static_cast<std::size_t>(to - from), '\0') {
    bytes_.resize(lines.Read(lines.Start(line) + from, bytes_));
  }
  // The kind of the character at `column`; none past what could be read.
  [[nodiscard]] CharacterKind KindAt(std::uint64_t column) const {
    const std::uint64_t at = column - from_;
    return at < bytes_.size() ? KindOf(bytes_[static_cast<std::size_t>(at)]) : CharacterKind::Other;
  }
  [[nodiscard]] std::uint64_t End() const noexcept { return from_ + bytes_.size(); }

 private:
  std::uint64_t from_;
  std::string bytes_;
};

}  // namespace

TextRange WordAt(const ResultLines& lines, TextPosition position, std::uint64_t reach) {
  if (lines.Utf8()) return ClusterWordAt(lines, position, reach);
  const std::uint64_t length = lines.Length(position.line);
  if (length == 0) return {{position.line, 0}, {position.line, 0}};
  const std::uint64_t at = std::min(position.column, length - 1);
  const std::uint64_t lowest = at - std::min(at, reach);
  const std::uint64_t highest = at + 1 + std::min(length - at - 1, reach);
  const LinePiece line(lines, position.line, lowest, highest);
  if (line.KindAt(at) != CharacterKind::Word) return {{position.line, at}, {position.line, at + 1}};
  std::uint64_t from = at;
  while (from > lowest && line.KindAt(from - 1) == CharacterKind::Word) --from;
  std::uint64_t to = at + 1;
  while (to < highest && line.KindAt(to) == CharacterKind::Word) ++to;
  return {{position.line, from}, {position.line, to}};
}

TextPosition WordRight(const ResultLines& lines, TextPosition caret, std::uint64_t reach) {
  if (lines.Utf8()) return ClusterWordRight(lines, caret, reach);
  const std::uint64_t length = lines.Length(caret.line);
  std::uint64_t column = std::min(caret.column, length);
  if (column == length) return CaretRight(lines, {caret.line, length});
  const LinePiece line(lines, caret.line, column, column + std::min(length - column, reach));
  const std::uint64_t stop = line.End();
  if (column == stop) return {caret.line, column};
  const CharacterKind kind = line.KindAt(column);
  if (kind != CharacterKind::Blank)
    while (column < stop && line.KindAt(column) == kind) ++column;
  while (column < stop && line.KindAt(column) == CharacterKind::Blank) ++column;
  return {caret.line, column};
}

TextPosition WordLeft(const ResultLines& lines, TextPosition caret, std::uint64_t reach) {
  if (lines.Utf8()) return ClusterWordLeft(lines, caret, reach);
  const std::uint64_t length = lines.Length(caret.line);
  std::uint64_t column = std::min(caret.column, length);
  if (column == 0) return CaretLeft(lines, {caret.line, 0});
  const std::uint64_t stop = column - std::min(column, reach);
  const LinePiece line(lines, caret.line, stop, column);
  while (column > stop && line.KindAt(column - 1) == CharacterKind::Blank) --column;
  if (column == stop) return {caret.line, column};
  const CharacterKind kind = line.KindAt(column - 1);
  while (column > stop && line.KindAt(column - 1) == kind) --column;
  return {caret.line, column};
}

}  // namespace quillon
