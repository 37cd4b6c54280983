#include "window/result_words.h"

#include <algorithm>
#include <span>

#include "window/result_caret.h"
#include "window/result_word_bytes.h"

namespace quillon {

namespace {

enum class CharacterKind { Word, Blank, Other };

CharacterKind KindOf(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  if (IsWordByte(value)) return CharacterKind::Word;
  if (IsBlankByte(value)) return CharacterKind::Blank;
  return CharacterKind::Other;
}

std::span<const char> LineBytes(const ResultLines& lines, std::uint64_t line, std::uint64_t length) {
  return lines.bytes.subspan(lines.Start(line), length);
}

}  // namespace

TextRange WordAt(const ResultLines& lines, TextPosition position, std::uint64_t reach) {
  const std::uint64_t length = lines.Length(position.line);
  if (length == 0) return {{position.line, 0}, {position.line, 0}};
  const std::uint64_t at = std::min(position.column, length - 1);
  const std::span<const char> line = LineBytes(lines, position.line, length);
  if (KindOf(line[at]) != CharacterKind::Word) return {{position.line, at}, {position.line, at + 1}};
  const std::uint64_t lowest = at - std::min(at, reach);
  std::uint64_t from = at;
  while (from > lowest && KindOf(line[from - 1]) == CharacterKind::Word) --from;
  const std::uint64_t highest = at + 1 + std::min(length - at - 1, reach);
  std::uint64_t to = at + 1;
  while (to < highest && KindOf(line[to]) == CharacterKind::Word) ++to;
  return {{position.line, from}, {position.line, to}};
}

TextPosition WordRight(const ResultLines& lines, TextPosition caret, std::uint64_t reach) {
  const std::uint64_t length = lines.Length(caret.line);
  std::uint64_t column = std::min(caret.column, length);
  if (column == length) return CaretRight(lines, {caret.line, length});
  const std::span<const char> line = LineBytes(lines, caret.line, length);
  const std::uint64_t stop = column + std::min(length - column, reach);
  const CharacterKind kind = KindOf(line[column]);
  if (kind != CharacterKind::Blank)
    while (column < stop && KindOf(line[column]) == kind) ++column;
  while (column < stop && KindOf(line[column]) == CharacterKind::Blank) ++column;
  return {caret.line, column};
}

TextPosition WordLeft(const ResultLines& lines, TextPosition caret, std::uint64_t reach) {
  const std::uint64_t length = lines.Length(caret.line);
  std::uint64_t column = std::min(caret.column, length);
  if (column == 0) return CaretLeft(lines, {caret.line, 0});
  const std::span<const char> line = LineBytes(lines, caret.line, length);
  const std::uint64_t stop = column - std::min(column, reach);
  while (column > stop && KindOf(line[column - 1]) == CharacterKind::Blank) --column;
  if (column == stop) return {caret.line, column};
  const CharacterKind kind = KindOf(line[column - 1]);
  while (column > stop && KindOf(line[column - 1]) == kind) --column;
  return {caret.line, column};
}

}  // namespace quillon
