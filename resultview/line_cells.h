#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "resultview/result_lines.h"
#include "resultview/text_clusters.h"

namespace quillon {

// A place between characters of a line in both measures: the column (its byte offset in the
// line) and the cell where it is shown.
struct CellSpot {
  std::uint64_t column = 0;
  std::uint64_t cell = 0;

  friend constexpr bool operator==(const CellSpot&, const CellSpot&) = default;
};

// One character of a line as shown: where it starts and how many cells it takes.
struct CellCluster {
  CellSpot start;
  std::uint64_t cells = 0;
};

// The characters of one line and the cells they take. In a text of bytes each byte is a
// character of one cell; in UTF-8 text each cluster takes its width, found by reading from
// the nearest anchor of the cell index, so no answer reads much more than an anchor spacing.
// Columns that do not fall on a character's start stand for the character they are in.
class LineCells {
 public:
  LineCells(const ResultLines& lines, std::uint64_t line);
  // For a line whose start and end are known.
  LineCells(const ResultLines& lines, std::uint64_t start, std::uint64_t end) noexcept;

  [[nodiscard]] std::uint64_t Length() const noexcept { return end_ - start_; }
  // The start of the character at `column` (the line's end past it).
  [[nodiscard]] CellSpot AtColumn(std::uint64_t column) const;
  // The character that covers `cell`; past the line's end, its end with no cells.
  [[nodiscard]] CellCluster AtCell(std::uint64_t cell) const;
  // The place after the character at `column`; the line's end stays.
  [[nodiscard]] std::uint64_t NextColumn(std::uint64_t column) const;
  // The start of the character before `column`; 0 stays.
  [[nodiscard]] std::uint64_t PreviousColumn(std::uint64_t column) const;
  // The cells of the whole line.
  [[nodiscard]] std::uint64_t Cells() const { return AtColumn(Length()).cell; }

  // Calls visit(bytes, cluster) for the characters from `from`, which must be a character's
  // start, until it returns false or the line (or what can still be read of it) ends.
  template <typename Visit>
  void Walk(CellSpot from, Visit visit) const;

  // The place to walk from to reach `column` (or `cell`) soonest.
  [[nodiscard]] CellSpot AnchorForColumn(std::uint64_t column) const;
  [[nodiscard]] CellSpot AnchorForCell(std::uint64_t cell) const;

 private:
  const ResultLines& lines_;
  std::uint64_t start_;
  std::uint64_t end_;
};

template <typename Visit>
void LineCells::Walk(CellSpot from, Visit visit) const {
  std::array<char, 8192> buffer;
  std::uint64_t column = from.column;
  std::uint64_t cell = from.cell;
  while (column < Length()) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), Length() - column));
    const std::size_t got = lines_.Read(start_ + column, std::span<char>(buffer).first(wanted));
    if (got == 0) return;
    const std::span<const char> bytes(buffer.data(), got);
    if (!lines_.Utf8()) {
      for (std::size_t at = 0; at < got; ++at, ++column, ++cell)
        if (!visit(bytes.subspan(at, 1), CellCluster{{column, cell}, 1})) return;
      if (got < wanted) return;
      continue;
    }
    // A read that comes up short ends the line where it stops.
    const bool complete = got < wanted || column + got == Length();
    ClusterWalker walker(bytes, complete);
    std::size_t at = 0;
    while (at < got) {
      const std::optional<std::size_t> end = walker.Next(at);
      // Read again from the open cluster's start; a chunk always holds a whole cluster.
      if (!end && (complete || at == 0)) return;
      if (!end) break;
      const std::span<const char> cluster = bytes.subspan(at, *end - at);
      const std::uint64_t cells = ClusterCells(cluster, cell);
      if (!visit(cluster, CellCluster{{column, cell}, cells})) return;
      column += *end - at;
      cell += cells;
      at = *end;
    }
    if (complete && at == got) return;
  }
}

}  // namespace quillon
