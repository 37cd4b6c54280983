#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "window/result_position.h"

namespace quillon {

// Where the lines of a result are, built as the result grows. Lines end at CR LF, LF or a lone
// CR; a text with n breaks has n + 1 lines, the last one possibly empty.
//
// The index stays small whatever the lines are like: it keeps, for every `spacing` bytes, how
// many breaks come before that offset, and finds a line by scanning from the nearest such
// checkpoint. So each query reads at most about `spacing` bytes, and a line of a gigabyte
// costs no more than a line of ten bytes.
//
// The index does not keep the bytes: every query takes the text it was built over (at least
// IndexedSize() bytes, of which it reads only those).
class ResultIndex {
 public:
  static constexpr std::size_t kDefaultSpacing = 4096;

  // `spacing` must be a positive multiple of 64.
  explicit ResultIndex(std::size_t spacing = kDefaultSpacing);

  // Brings the index up to `bytes`, the whole text published so far. Within one generation the
  // text only grows, and only its new part is read; a new generation starts over.
  // Returns whether anything changed.
  bool Update(std::span<const char> bytes, std::uint64_t generation);

  [[nodiscard]] std::uint64_t generation() const noexcept { return generation_; }
  [[nodiscard]] std::size_t IndexedSize() const noexcept { return indexed_; }
  [[nodiscard]] std::uint64_t LineCount() const noexcept { return breaks_ + 1; }
  [[nodiscard]] std::uint64_t LongestLineLength() const noexcept { return std::max(longestEnded_, openLineLength_); }

  // Offset of the first byte of `line` (< LineCount()).
  [[nodiscard]] std::size_t LineStart(std::span<const char> bytes, std::uint64_t line) const;
  // Offset of the break that ends `line`, or the text's end for the last line.
  [[nodiscard]] std::size_t LineEnd(std::span<const char> bytes, std::uint64_t line) const;
  // Characters in `line`, its break not counted.
  [[nodiscard]] std::uint64_t LineLength(std::span<const char> bytes, std::uint64_t line) const;

  // The line and column of the byte at `offset` (<= IndexedSize()). A break's bytes, and the
  // text's end, map to the end of the line they close.
  [[nodiscard]] TextPosition PositionOf(std::span<const char> bytes, std::size_t offset) const;

  // The offset of `position`; a column past the line's end counts as its end.
  [[nodiscard]] std::size_t OffsetOf(std::span<const char> bytes, TextPosition position) const;

 private:
  void Clear();
  void Extend(std::span<const char> bytes);
  struct Scan;
  [[nodiscard]] std::size_t BreakAt(std::span<const char> bytes, std::uint64_t ordinal) const;
  [[nodiscard]] std::uint64_t BreaksBefore(std::span<const char> bytes, std::size_t offset) const;
  void CheckBytes(std::span<const char> bytes) const;

  std::size_t spacing_;
  std::uint64_t generation_ = 0;
  std::size_t indexed_ = 0;
  std::uint64_t breaks_ = 0;
  // checkpoints_[i]: breaks that start before offset i * spacing_.
  std::vector<std::uint64_t> checkpoints_;
  // A line is a run of bytes that are neither CR nor LF: the longest such run so far, and the
  // one still open at the end.
  std::uint64_t longestEnded_ = 0;
  std::uint64_t openLineLength_ = 0;
  bool lastWasCr_ = false;
};

}  // namespace quillon
