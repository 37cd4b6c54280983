#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

// Where the cells of a UTF-8 result are, beside its line index: at every `spacing` bytes, the
// first cluster boundary there or after and the cells its line takes up to it. So a cell maps
// to a byte (and back) by reading from the nearest such anchor, never more than about
// `spacing` bytes, however long the line.
//
// One thread appends while others query; a query holds the lock only to look up an anchor.
class ResultCellIndex {
 public:
  explicit ResultCellIndex(std::size_t spacing);
  ResultCellIndex(const ResultCellIndex&) = delete;
  ResultCellIndex& operator=(const ResultCellIndex&) = delete;

  void Clear();
  // Takes in the next bytes of the text. One thread at a time.
  void Append(std::span<const char> bytes);

  // A cluster boundary and the cells its line takes before it.
  struct Anchor {
    std::uint64_t offset = 0;
    std::uint64_t cells = 0;
  };
  // The last anchor in [lineStart, offset], or the line's start.
  [[nodiscard]] Anchor AtOrBefore(std::uint64_t lineStart, std::uint64_t offset) const;
  // The last anchor in [lineStart, lineEnd] with at most `cell` cells before it, or the line's
  // start.
  [[nodiscard]] Anchor AtOrBeforeCell(std::uint64_t lineStart, std::uint64_t lineEnd, std::uint64_t cell) const;
  // The cells of the longest line taken in so far.
  [[nodiscard]] std::uint64_t LongestCells() const;

  [[nodiscard]] std::size_t MemoryBytes() const;

 private:
  // Walks `text`, which begins at the cluster boundary `base`, as far as its clusters are
  // certain; returns how many bytes that took.
  std::size_t Walk(std::span<const char> text, std::uint64_t base);
  // Where the line from `from` breaks, when that is in `text` before the next anchor and the
  // line cannot be longer than the longest so far, so that it needs no segmenting; the index
  // is fed well-formed UTF-8, whose bytes bound the cells.
  [[nodiscard]] std::optional<std::size_t> PassOverShortLine(std::span<const char> text, std::size_t from, std::uint64_t base) const;
  // The cells of the longest line in what is carried, the open line's cells so far included.
  [[nodiscard]] std::uint64_t LongestInCarry() const;

  const std::size_t spacing_;
  mutable std::mutex mutex_;
  std::vector<Anchor> anchors_;  // anchors_[i] for offset (i + 1) * spacing_
  std::uint64_t longest_ = 0;

  // The appending thread's state: the bytes from the last certain boundary on, its offset and
  // the cells of its line before it.
  std::string carry_;
  std::uint64_t carryOffset_ = 0;
  std::uint64_t lineCells_ = 0;
  std::uint64_t longestEnded_ = 0;
  bool atLineStart_ = true;
  std::uint64_t nextAnchor_ = 0;
  std::vector<Anchor> pending_;
};

}  // namespace quillon
