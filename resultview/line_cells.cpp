#include "resultview/line_cells.h"

namespace quillon {

LineCells::LineCells(const ResultLines& lines, std::uint64_t line) : lines_(lines), start_(lines.Start(line)) {
  end_ = lines.EndAfter(line, start_);
}

LineCells::LineCells(const ResultLines& lines, std::uint64_t start, std::uint64_t end) noexcept
    : lines_(lines), start_(start), end_(std::max(start, end)) {}

CellSpot LineCells::AnchorForColumn(std::uint64_t column) const {
  const ResultCellIndex* index = lines_.Cells();
  if (index == nullptr) return {column, column};
  const ResultCellIndex::Anchor anchor = index->AtOrBefore(start_, start_ + column);
  return {anchor.offset - start_, anchor.cells};
}

CellSpot LineCells::AnchorForCell(std::uint64_t cell) const {
  const ResultCellIndex* index = lines_.Cells();
  if (index == nullptr) return {cell, cell};
  const ResultCellIndex::Anchor anchor = index->AtOrBeforeCell(start_, end_, cell);
  return {anchor.offset - start_, anchor.cells};
}

CellSpot LineCells::AtColumn(std::uint64_t column) const {
  column = std::min(column, Length());
  if (!lines_.Utf8()) return {column, column};
  CellSpot found = AnchorForColumn(column);
  Walk(found, [&](std::span<const char> bytes, const CellCluster& cluster) {
    if (cluster.start.column + bytes.size() > column) return false;
    found = {cluster.start.column + bytes.size(), cluster.start.cell + cluster.cells};
    return true;
  });
  return found;
}

CellCluster LineCells::AtCell(std::uint64_t cell) const {
  if (!lines_.Utf8()) return cell < Length() ? CellCluster{{cell, cell}, 1} : CellCluster{{Length(), Length()}, 0};
  CellSpot reached = AnchorForCell(cell);
  std::optional<CellCluster> covering;
  Walk(reached, [&](std::span<const char> bytes, const CellCluster& cluster) {
    if (cluster.start.cell + cluster.cells > cell) {
      covering = cluster;
      return false;
    }
    reached = {cluster.start.column + bytes.size(), cluster.start.cell + cluster.cells};
    return true;
  });
  return covering.value_or(CellCluster{reached, 0});
}

std::uint64_t LineCells::NextColumn(std::uint64_t column) const {
  if (column >= Length()) return Length();
  if (!lines_.Utf8()) return column + 1;
  std::uint64_t next = Length();
  Walk(AnchorForColumn(column), [&](std::span<const char> bytes, const CellCluster& cluster) {
    const std::uint64_t end = cluster.start.column + bytes.size();
    if (end <= column) return true;
    next = end;
    return false;
  });
  return next;
}

std::uint64_t LineCells::PreviousColumn(std::uint64_t column) const {
  column = std::min(column, Length());
  if (column == 0) return 0;
  if (!lines_.Utf8()) return column - 1;
  // The anchor must lie before the character that ends at or after `column - 1`.
  const CellSpot anchor = AnchorForColumn(column - 1);
  std::uint64_t previous = anchor.column;
  Walk(anchor, [&](std::span<const char> bytes, const CellCluster& cluster) {
    if (cluster.start.column >= column) return false;
    previous = cluster.start.column;
    return cluster.start.column + bytes.size() < column;
  });
  return previous;
}

}  // namespace quillon
