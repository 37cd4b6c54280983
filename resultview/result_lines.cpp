#include "resultview/result_lines.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quillon {

ResultLines::ResultLines(const ResultIndex& index, const ByteSource& bytes, std::uint64_t size) : index_(index), bytes_(bytes) {
  const ResultIndex::Extent extent = index.Indexed();
  size_ = std::min(size, extent.size);
  // A text cut short (a file truncated under the view) has only the breaks before its end.
  breaks_ = size_ == extent.size ? extent.breaks : std::min(extent.breaks, index.BreaksBefore(bytes, size_));
  longest_ = std::min(extent.longestLine, size_);
}

ResultLines::ResultLines(const ResultIndex& index, const ByteSource& bytes) : ResultLines(index, bytes, index.Indexed().size) {}

ResultLines::ResultLines(const ResultIndex& index, const ResultCellIndex* cells, const ByteSource& bytes, std::uint64_t size)
    : ResultLines(index, bytes, size) {
  cells_ = cells;
}

std::uint64_t ResultLines::LongestCells() const {
  if (cells_ == nullptr) return longest_;
  // A file cut short keeps the cells it had; that only makes the scroll range wider.
  return size_ == 0 ? 0 : cells_->LongestCells();
}

void ResultLines::CheckLine(std::uint64_t line) const {
  if (line >= Count()) throw std::out_of_range("ResultLines: no such line");
}

std::size_t ResultLines::Read(std::uint64_t offset, std::span<char> out) const {
  if (offset >= size_) return 0;
  return bytes_.Read(offset, out.first(static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size_ - offset))));
}

std::uint64_t ResultLines::AfterBreak(std::uint64_t breakAt) const {
  std::array<char, 2> pair{};
  const std::size_t got = Read(breakAt, pair);
  const bool crLf = got == 2 && pair[0] == '\r' && pair[1] == '\n';
  return std::min(size_, breakAt + (crLf ? 2 : 1));
}

std::uint64_t ResultLines::Start(std::uint64_t line) const {
  CheckLine(line);
  if (line == 0) return 0;
  return AfterBreak(index_.BreakAt(bytes_, size_, line - 1));
}

std::uint64_t ResultLines::EndAfter(std::uint64_t line, std::uint64_t start) const {
  if (line == breaks_) return size_;
  // Never before the line's start, whatever the bytes have become.
  return std::max(start, index_.BreakAt(bytes_, size_, line));
}

std::uint64_t ResultLines::LineEnd(std::uint64_t line) const { return EndAfter(line, Start(line)); }

std::uint64_t ResultLines::Length(std::uint64_t line) const {
  const std::uint64_t start = Start(line);
  return EndAfter(line, start) - start;
}

std::uint64_t ResultLines::Offset(TextPosition position) const {
  const std::uint64_t start = Start(position.line);
  return start + std::min(position.column, EndAfter(position.line, start) - start);
}

TextPosition ResultLines::PositionOf(std::uint64_t offset) const {
  if (offset > size_) throw std::out_of_range("ResultLines: offset past the text");
  const std::uint64_t breaks = std::min(breaks_, index_.BreaksBefore(bytes_, offset));
  std::array<char, 2> pair{};
  const bool inCrLf = offset > 0 && breaks > 0 && Read(offset - 1, pair) == 2 && pair[0] == '\r' && pair[1] == '\n';
  if (inCrLf) return {breaks - 1, Length(breaks - 1)};
  const std::uint64_t start = Start(breaks);
  return {breaks, offset - std::min(offset, start)};
}

}  // namespace quillon
