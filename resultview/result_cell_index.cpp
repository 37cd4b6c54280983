#include "resultview/result_cell_index.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

#include "resultview/text_clusters.h"

namespace quillon {

namespace {

// Enough bytes after a carried cluster for it to end or reach its limit.
constexpr std::size_t kJoin = kMaxClusterBytes + 8;

bool IsPlainAscii(char byte) noexcept { return byte >= 0x20 && byte < 0x7F; }

// The most cells a byte can add to its line in UTF-8 text: two for a character that may be
// wide or a control, eight for a tab, none for a continuation byte.
constexpr std::array<std::uint8_t, 256> kMostCells = [] {
  std::array<std::uint8_t, 256> most{};
  for (int byte = 0; byte < 0x20; ++byte) most[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(kControlCells);
  most['\t'] = static_cast<std::uint8_t>(kTabCells);
  for (int byte = 0x20; byte < 0x7F; ++byte) most[static_cast<std::size_t>(byte)] = 1;
  most[0x7F] = static_cast<std::uint8_t>(kControlCells);
  for (int byte = 0xC0; byte <= 0xFF; ++byte) most[static_cast<std::size_t>(byte)] = 2;
  return most;
}();

}  // namespace

ResultCellIndex::ResultCellIndex(std::size_t spacing) : spacing_(spacing), nextAnchor_(spacing) {
  if (spacing == 0) throw std::invalid_argument("ResultCellIndex: the anchor spacing must be positive");
}

void ResultCellIndex::Clear() {
  {
    const std::lock_guard lock(mutex_);
    anchors_.clear();
    anchors_.shrink_to_fit();
    longest_ = 0;
  }
  carry_.clear();
  carryOffset_ = 0;
  lineCells_ = 0;
  longestEnded_ = 0;
  atLineStart_ = true;
  nextAnchor_ = spacing_;
}

std::optional<std::size_t> ResultCellIndex::PassOverShortLine(std::span<const char> text, std::size_t from, std::uint64_t base) const {
  // The break must come before the next anchor, which would need the line's cells.
  const auto limit = static_cast<std::size_t>(std::min<std::uint64_t>(text.size(), nextAnchor_ - base));
  std::uint64_t most = 0;
  for (std::size_t at = from; at < limit; ++at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte == '\r' || byte == '\n') return at;
    most += kMostCells[byte];
    if (most > longestEnded_) return std::nullopt;
  }
  return std::nullopt;
}

std::size_t ResultCellIndex::Walk(std::span<const char> text, std::uint64_t base) {
  ClusterWalker walker(text, false);
  std::size_t at = 0;
  for (;;) {
    for (; base + at >= nextAnchor_; nextAnchor_ += spacing_) pending_.push_back({base + at, lineCells_});
    if (at == text.size()) return at;
    if (text[at] == '\r' || text[at] == '\n') {
      longestEnded_ = std::max(longestEnded_, lineCells_);
      lineCells_ = 0;
      atLineStart_ = true;
      ++at;
      continue;
    }
    if (std::exchange(atLineStart_, false)) {
      if (const std::optional<std::size_t> lineBreak = PassOverShortLine(text, at, base)) {
        at = *lineBreak;
        continue;
      }
    }
    // Printable ASCII followed by ASCII is a cluster of one cell: most text, counted without
    // the segmenter, up to the next anchor.
    const std::size_t stop = static_cast<std::size_t>(std::min<std::uint64_t>(text.size() - 1, nextAnchor_ - base));
    const std::size_t runStart = at;
    while (at < stop && IsPlainAscii(text[at]) && static_cast<unsigned char>(text[at + 1]) < 0x80) ++at;
    if (at != runStart) {
      lineCells_ += at - runStart;
      continue;
    }
    const std::optional<std::size_t> end = walker.Next(at);
    if (!end) return at;
    lineCells_ += ClusterCells(text.subspan(at, *end - at), lineCells_);
    at = *end;
  }
}

std::uint64_t ResultCellIndex::LongestInCarry() const {
  // As if the text ended here: the lines still open are counted whole.
  ClusterWalker walker(carry_, true);
  std::uint64_t cells = lineCells_;
  std::uint64_t longest = 0;
  for (std::size_t at = 0; at < carry_.size();) {
    if (carry_[at] == '\r' || carry_[at] == '\n') {
      longest = std::max(longest, cells);
      cells = 0;
      ++at;
      continue;
    }
    const std::size_t end = walker.Next(at).value_or(carry_.size());
    cells += ClusterCells(std::span<const char>(carry_).subspan(at, end - at), cells);
    at = end;
  }
  return std::max(longest, cells);
}

void ResultCellIndex::Append(std::span<const char> bytes) {
  pending_.clear();
  std::size_t used = 0;
  // A cluster left open by the last bytes is finished with the first of these.
  while (!carry_.empty() && used < bytes.size()) {
    const std::size_t take = std::min(bytes.size() - used, kJoin);
    carry_.append(bytes.data() + used, take);
    used += take;
    const std::size_t walked = Walk(carry_, carryOffset_);
    carry_.erase(0, walked);
    carryOffset_ += walked;
    if (carry_.size() <= take) {
      // What is left lies in `bytes`: walked from there without copying.
      used -= carry_.size();
      carry_.clear();
    }
  }
  if (carry_.empty()) {
    const std::size_t walked = Walk(bytes.subspan(used), carryOffset_);
    carryOffset_ += walked;
    carry_.assign(bytes.data() + used + walked, bytes.size() - used - walked);
  }
  const std::uint64_t longest = std::max(longestEnded_, LongestInCarry());
  const std::lock_guard lock(mutex_);
  anchors_.insert(anchors_.end(), pending_.begin(), pending_.end());
  longest_ = longest;
}

ResultCellIndex::Anchor ResultCellIndex::AtOrBefore(std::uint64_t lineStart, std::uint64_t offset) const {
  const std::lock_guard lock(mutex_);
  const auto after = std::upper_bound(anchors_.begin(), anchors_.end(), offset, [](std::uint64_t value, const Anchor& anchor) {
    return value < anchor.offset;
  });
  if (after == anchors_.begin() || std::prev(after)->offset < lineStart) return {lineStart, 0};
  return *std::prev(after);
}

ResultCellIndex::Anchor ResultCellIndex::AtOrBeforeCell(std::uint64_t lineStart, std::uint64_t lineEnd, std::uint64_t cell) const {
  const std::lock_guard lock(mutex_);
  const auto byOffset = [](const Anchor& anchor, std::uint64_t value) { return anchor.offset < value; };
  const auto first = std::lower_bound(anchors_.begin(), anchors_.end(), lineStart, byOffset);
  const auto last = std::upper_bound(first, anchors_.end(), lineEnd, [](std::uint64_t value, const Anchor& anchor) {
    return value < anchor.offset;
  });
  // Within a line the cells only grow.
  const auto after = std::upper_bound(first, last, cell, [](std::uint64_t value, const Anchor& anchor) { return value < anchor.cells; });
  if (after == first) return {lineStart, 0};
  return *std::prev(after);
}

std::uint64_t ResultCellIndex::LongestCells() const {
  const std::lock_guard lock(mutex_);
  return longest_;
}

std::size_t ResultCellIndex::MemoryBytes() const {
  const std::lock_guard lock(mutex_);
  return anchors_.capacity() * sizeof(Anchor);
}

}  // namespace quillon
