#include "window/result_caret.h"

#include <algorithm>
#include <span>

namespace quillon {

TextPosition CaretLeft(const ResultLines& lines, TextPosition caret) {
  const std::uint64_t column = std::min(caret.column, lines.Length(caret.line));
  if (column > 0) return {caret.line, column - 1};
  if (caret.line == 0) return {0, 0};
  return {caret.line - 1, lines.Length(caret.line - 1)};
}

TextPosition CaretRight(const ResultLines& lines, TextPosition caret) {
  const std::uint64_t length = lines.Length(caret.line);
  if (caret.column < length) return {caret.line, caret.column + 1};
  if (caret.line + 1 >= lines.Count()) return {caret.line, length};
  return {caret.line + 1, 0};
}

TextPosition CaretVertical(const ResultLines& lines, TextPosition caret, std::int64_t delta, std::uint64_t column) {
  const std::uint64_t last = lines.Count() - 1;
  std::uint64_t line = caret.line;
  if (delta < 0) {
    const std::uint64_t up = static_cast<std::uint64_t>(-(delta + 1)) + 1;
    line = up >= line ? 0 : line - up;
  } else {
    const auto down = static_cast<std::uint64_t>(delta);
    line = down >= last - std::min(line, last) ? last : line + down;
  }
  return {line, std::min(column, lines.Length(line))};
}

namespace {

enum class CharacterKind { Word, Blank, Other };

CharacterKind KindOf(unsigned char byte) {
  // Windows-1252 letters above ASCII: Š Œ Ž š œ ž Ÿ ƒ ª µ º and À to ÿ without × and ÷.
  static constexpr unsigned char kHighLetters[] = {0x83, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA};
  if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_')
    return CharacterKind::Word;
  if (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7) return CharacterKind::Word;
  if (std::find(std::begin(kHighLetters), std::end(kHighLetters), byte) != std::end(kHighLetters)) return CharacterKind::Word;
  if (byte == ' ' || byte == '\t' || byte == 0xA0) return CharacterKind::Blank;
  return CharacterKind::Other;
}

}  // namespace

TextRange WordAt(const ResultLines& lines, TextPosition position, std::uint64_t reach) {
  const std::uint64_t length = lines.Length(position.line);
  if (length == 0) return {{position.line, 0}, {position.line, 0}};
  const std::uint64_t at = std::min(position.column, length - 1);
  const std::span<const char> line = lines.bytes.subspan(lines.Start(position.line), length);
  const auto kindAt = [&line](std::uint64_t column) { return KindOf(static_cast<unsigned char>(line[column])); };
  const CharacterKind kind = kindAt(at);
  if (kind == CharacterKind::Other) return {{position.line, at}, {position.line, at + 1}};
  std::uint64_t from = at;
  while (from > 0 && at - from < reach && kindAt(from - 1) == kind) --from;
  std::uint64_t to = at + 1;
  while (to < length && to - at <= reach && kindAt(to) == kind) ++to;
  return {{position.line, from}, {position.line, to}};
}

}  // namespace quillon
