#include "resultview/shown_extent.h"

#include <algorithm>

#include "resultview/line_cells.h"

namespace quillon {

TextPosition ClampedTo(const ResultLines& lines, TextPosition position) {
  if (position.line >= lines.Count()) return lines.End();
  if (lines.Utf8()) return {position.line, LineCells(lines, position.line).AtColumn(position.column).column};
  position.column = std::min(position.column, lines.Length(position.line));
  return position;
}

ShownExtent::Change ShownExtent::TakeIn(const ResultLines& lines, std::uint64_t generation, std::uint64_t lastRowShown) noexcept {
  Change change;
  change.reset = generation != generation_;
  if (!change.reset && lines.Size() == size_) return change;
  change.shrank = !change.reset && lines.Size() < size_;
  const std::uint64_t lastLineBefore = lineCount_ - 1;
  const std::uint64_t longestBefore = longestLine_;
  generation_ = generation;
  size_ = lines.Size();
  lineCount_ = lines.Count();
  longestLine_ = lines.LongestCells();
  utf8_ = lines.Utf8();
  // Growing, only the last line can have grown and only lines after it been added.
  change.repaint = change.reset || change.shrank || lastLineBefore <= lastRowShown;
  change.rescale = change.reset || change.shrank || lineCount_ - 1 != lastLineBefore || longestLine_ != longestBefore;
  return change;
}

ScrollScale ShownExtent::VerticalScale(std::uint64_t rows, std::uint64_t barLimit) const noexcept {
  return ScrollScale(lineCount_ > rows ? lineCount_ - rows : 0, barLimit);
}

ScrollScale ShownExtent::HorizontalScale(std::uint64_t columns, std::uint64_t barLimit) const noexcept {
  const std::uint64_t width = longestLine_ + 1;
  return ScrollScale(width > columns ? width - columns : 0, barLimit);
}

}  // namespace quillon
