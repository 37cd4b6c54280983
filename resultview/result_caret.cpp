#include "resultview/result_caret.h"

#include <algorithm>

#include "resultview/line_cells.h"

namespace quillon {

TextPosition CaretLeft(const ResultLines& lines, TextPosition caret) {
  const LineCells line(lines, caret.line);
  const std::uint64_t column = std::min(caret.column, line.Length());
  if (column > 0) return {caret.line, line.PreviousColumn(column)};
  if (caret.line == 0) return {0, 0};
  return {caret.line - 1, lines.Length(caret.line - 1)};
}

TextPosition CaretRight(const ResultLines& lines, TextPosition caret) {
  const LineCells line(lines, caret.line);
  const std::uint64_t length = line.Length();
  if (caret.column < length) return {caret.line, line.NextColumn(caret.column)};
  if (caret.line + 1 >= lines.Count()) return {caret.line, length};
  return {caret.line + 1, 0};
}

TextPosition CaretVertical(const ResultLines& lines, TextPosition caret, std::int64_t delta, std::uint64_t cell) {
  const std::uint64_t last = lines.Count() - 1;
  std::uint64_t line = caret.line;
  if (delta < 0) {
    const std::uint64_t up = static_cast<std::uint64_t>(-(delta + 1)) + 1;
    line = up >= line ? 0 : line - up;
  } else {
    const auto down = static_cast<std::uint64_t>(delta);
    line = down >= last - std::min(line, last) ? last : line + down;
  }
  return {line, LineCells(lines, line).AtCell(cell).start.column};
}

}  // namespace quillon
