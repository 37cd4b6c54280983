#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "resultview/byte_source.h"
#include "resultview/result_cell_index.h"
#include "resultview/result_index.h"
#include "resultview/result_position.h"

namespace quillon {

// The lines of a result as one reader sees them at one moment: the first `size` bytes of the
// text, read from `bytes` through the index built over them. Every answer stays within those
// bytes, also when the bytes no longer match the index (a file changed under it): then lines
// come out shorter or empty, never out of range.
class ResultLines {
 public:
  // `size` beyond what the index has taken in counts as its end.
  ResultLines(const ResultIndex& index, const ByteSource& bytes, std::uint64_t size);
  // All the bytes the index has taken in.
  ResultLines(const ResultIndex& index, const ByteSource& bytes);
  // A UTF-8 text, whose cells `cells` knows; without it every byte is a character of one cell.
  ResultLines(const ResultIndex& index, const ResultCellIndex* cells, const ByteSource& bytes, std::uint64_t size);

  // The cell index of a UTF-8 text; null for a text of bytes.
  [[nodiscard]] const ResultCellIndex* Cells() const noexcept { return cells_; }
  [[nodiscard]] bool Utf8() const noexcept { return cells_ != nullptr; }
  // At least the cells of the longest line as far as they are known: its length for bytes.
  [[nodiscard]] std::uint64_t LongestCells() const;

  [[nodiscard]] std::uint64_t Size() const noexcept { return size_; }
  [[nodiscard]] std::uint64_t Count() const noexcept { return breaks_ + 1; }
  // At least the length of the longest line, its break not counted.
  [[nodiscard]] std::uint64_t LongestLength() const noexcept { return longest_; }

  // Offset of the first byte of `line` (< Count()).
  [[nodiscard]] std::uint64_t Start(std::uint64_t line) const;
  // Offset of the break that ends `line`, or the text's end for the last line.
  [[nodiscard]] std::uint64_t LineEnd(std::uint64_t line) const;
  // LineEnd() for a line whose start is known.
  [[nodiscard]] std::uint64_t EndAfter(std::uint64_t line, std::uint64_t start) const;
  // Bytes in `line`, its break not counted: its characters in a text of bytes.
  [[nodiscard]] std::uint64_t Length(std::uint64_t line) const;
  // The offset of `position`; a column past the line's end counts as its end.
  [[nodiscard]] std::uint64_t Offset(TextPosition position) const;
  // The line and column of the byte at `offset` (at most Size()). A break's bytes, and the
  // text's end, map to the end of the line they close.
  [[nodiscard]] TextPosition PositionOf(std::uint64_t offset) const;
  // The place after the last character.
  [[nodiscard]] TextPosition End() const { return {Count() - 1, Length(Count() - 1)}; }

  // Copies the bytes from `offset`, up to the text's end, into `out`; returns how many.
  std::size_t Read(std::uint64_t offset, std::span<char> out) const;
  // The offset after the break that starts at `breakAt`.
  [[nodiscard]] std::uint64_t AfterBreak(std::uint64_t breakAt) const;

 private:
  void CheckLine(std::uint64_t line) const;

  const ResultIndex& index_;
  const ResultCellIndex* cells_ = nullptr;
  const ByteSource& bytes_;
  std::uint64_t size_;
  std::uint64_t breaks_;
  std::uint64_t longest_;
};

}  // namespace quillon
