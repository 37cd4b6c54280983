#include "window/result_index.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "window/result_break_masks.h"

namespace quillon {

namespace {

constexpr std::size_t kBlock = 64;

// The offset in its 64 bytes of the break numbered `ordinal` (from 0) among those in `starts`.
int NthSetBit(std::uint64_t starts, std::uint64_t ordinal) noexcept {
  for (; ordinal > 0; --ordinal) starts &= starts - 1;
  return std::countr_zero(starts);
}

bool StartsBreak(char byte, bool crBefore) noexcept { return byte == '\r' || (byte == '\n' && !crBefore); }

}  // namespace

ResultIndex::ResultIndex(std::size_t spacing) : spacing_(spacing) {
  if (spacing == 0 || spacing % kBlock != 0)
    throw std::invalid_argument("ResultIndex: the checkpoint spacing must be a positive multiple of 64 bytes");
  Clear();
}

void ResultIndex::Clear() {
  indexed_ = 0;
  breaks_ = 0;
  checkpoints_ = std::vector<std::uint64_t>{0};
  longestEnded_ = 0;
  openLineLength_ = 0;
  lastWasCr_ = false;
}

bool ResultIndex::Update(std::span<const char> bytes, std::uint64_t generation) {
  bool changed = false;
  if (generation != generation_) {
    Clear();
    generation_ = generation;
    changed = true;
  }
  if (bytes.size() < indexed_) throw std::logic_error("ResultIndex: the text shrank within one generation");
  if (bytes.size() > indexed_) {
    Extend(bytes);
    changed = true;
  }
  return changed;
}

// What scanning carries from byte to byte. Kept apart from the index so that it can live in
// registers: the bytes are chars, which the compiler must otherwise assume may alias it.
struct ResultIndex::Scan {
  std::uint64_t breaks;
  std::uint64_t longestEnded;
  std::uint64_t openLineLength;
  bool lastWasCr;

  void Block(const char* block) noexcept {
    const BreakMasks masks = LoadBreakMasks(block);
    const std::uint64_t breakBytes = masks.cr | masks.lf;
    breaks += static_cast<std::uint64_t>(std::popcount(BreakStarts(masks, lastWasCr)));
    lastWasCr = (masks.cr >> 63) != 0;
    // Blocks with and without breaks alternate unpredictably in ordinary text, so both cases go
    // through the same steps.
    const bool anyBreak = breakBytes != 0;
    const int first = std::countr_zero(breakBytes);
    const int last = 63 - std::countl_zero(breakBytes);
    const std::uint64_t ended = anyBreak ? openLineLength + static_cast<std::uint64_t>(first) : 0;
    longestEnded = std::max(longestEnded, ended);
    openLineLength = anyBreak ? static_cast<std::uint64_t>(63 - last) : openLineLength + kBlock;
    // Lines between the first and the last break are shorter than 63 bytes: they matter only
    // while every line so far is short too.
    if (longestEnded < kBlock - 2 && anyBreak) {
      const std::uint64_t afterFirst = ~((std::uint64_t{2} << first) - 1);
      const std::uint64_t beforeLast = (std::uint64_t{1} << last) - 1;
      const auto inside = static_cast<std::uint64_t>(LongestRunOfOnes(~breakBytes & afterFirst & beforeLast));
      longestEnded = std::max(longestEnded, inside);
    }
  }

  void WithoutBreak(std::size_t bytes) noexcept {
    openLineLength += bytes;
    lastWasCr = false;
  }

  void Byte(char byte) noexcept {
    if (byte != '\r' && byte != '\n') {
      ++openLineLength;
      lastWasCr = false;
      return;
    }
    if (StartsBreak(byte, lastWasCr)) ++breaks;
    lastWasCr = byte == '\r';
    longestEnded = std::max(longestEnded, openLineLength);
    openLineLength = 0;
  }
};

void ResultIndex::Extend(std::span<const char> bytes) {
  const char* const data = bytes.data();
  const std::size_t end = bytes.size();
  std::size_t pos = indexed_;
  std::size_t nextCheckpoint = checkpoints_.size() * spacing_;
  Scan scan{breaks_, longestEnded_, openLineLength_, lastWasCr_};
  while (pos < end) {
    if (pos == nextCheckpoint) {
      checkpoints_.push_back(scan.breaks);
      nextCheckpoint += spacing_;
    }
    // Checkpoints lie on 64-byte edges: single bytes only up to the first edge and after the
    // last one.
    const std::size_t stop = std::min(nextCheckpoint, end);
    for (; pos < stop && pos % kBlock != 0; ++pos) scan.Byte(data[pos]);
    // Long stretches without a break are passed over faster. The test covers two blocks so
    // that in ordinary text, where most pairs hold a break, it is rarely mispredicted.
    for (; pos + 2 * kBlock <= stop; pos += 2 * kBlock) {
      if (AnyBreakIn<2 * kBlock>(data + pos)) {
        scan.Block(data + pos);
        scan.Block(data + pos + kBlock);
      } else {
        scan.WithoutBreak(2 * kBlock);
      }
    }
    for (; pos + kBlock <= stop; pos += kBlock) scan.Block(data + pos);
    for (; pos < stop; ++pos) scan.Byte(data[pos]);
  }
  breaks_ = scan.breaks;
  longestEnded_ = scan.longestEnded;
  openLineLength_ = scan.openLineLength;
  lastWasCr_ = scan.lastWasCr;
  indexed_ = end;
}

void ResultIndex::CheckBytes(std::span<const char> bytes) const {
  if (bytes.size() < indexed_) throw std::logic_error("ResultIndex: queried with fewer bytes than it indexed");
}

std::size_t ResultIndex::BreakAt(std::span<const char> bytes, std::uint64_t ordinal) const {
  // The last checkpoint with at most `ordinal` breaks before it: the break lies within the
  // `spacing_` bytes after it.
  const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), ordinal);
  const auto checkpoint = static_cast<std::size_t>(after - checkpoints_.begin()) - 1;
  std::size_t pos = checkpoint * spacing_;
  std::uint64_t remaining = ordinal - checkpoints_[checkpoint];
  bool crBefore = pos > 0 && bytes[pos - 1] == '\r';
  for (; pos + kBlock <= indexed_; pos += kBlock) {
    const BreakMasks masks = LoadBreakMasks(bytes.data() + pos);
    const std::uint64_t starts = BreakStarts(masks, crBefore);
    const auto found = static_cast<std::uint64_t>(std::popcount(starts));
    if (remaining < found) return pos + static_cast<std::size_t>(NthSetBit(starts, remaining));
    remaining -= found;
    crBefore = (masks.cr >> 63) != 0;
  }
  for (; pos < indexed_; ++pos) {
    if (StartsBreak(bytes[pos], crBefore)) {
      if (remaining == 0) return pos;
      --remaining;
    }
    crBefore = bytes[pos] == '\r';
  }
  throw std::logic_error("ResultIndex: a counted line break was not found again");
}

std::uint64_t ResultIndex::BreaksBefore(std::span<const char> bytes, std::size_t offset) const {
  const std::size_t checkpoint = std::min(offset / spacing_, checkpoints_.size() - 1);
  std::size_t pos = checkpoint * spacing_;
  std::uint64_t breaks = checkpoints_[checkpoint];
  bool crBefore = pos > 0 && bytes[pos - 1] == '\r';
  for (; pos + kBlock <= offset; pos += kBlock) {
    const BreakMasks masks = LoadBreakMasks(bytes.data() + pos);
    breaks += static_cast<std::uint64_t>(std::popcount(BreakStarts(masks, crBefore)));
    crBefore = (masks.cr >> 63) != 0;
  }
  for (; pos < offset; ++pos) {
    breaks += StartsBreak(bytes[pos], crBefore) ? 1 : 0;
    crBefore = bytes[pos] == '\r';
  }
  return breaks;
}

std::size_t ResultIndex::LineStart(std::span<const char> bytes, std::uint64_t line) const {
  CheckBytes(bytes);
  if (line >= LineCount()) throw std::out_of_range("ResultIndex: no such line");
  if (line == 0) return 0;
  const std::size_t at = BreakAt(bytes, line - 1);
  const bool crLf = bytes[at] == '\r' && at + 1 < indexed_ && bytes[at + 1] == '\n';
  return at + (crLf ? 2 : 1);
}

std::size_t ResultIndex::LineEnd(std::span<const char> bytes, std::uint64_t line) const {
  CheckBytes(bytes);
  if (line >= LineCount()) throw std::out_of_range("ResultIndex: no such line");
  return line < breaks_ ? BreakAt(bytes, line) : indexed_;
}

std::uint64_t ResultIndex::LineLength(std::span<const char> bytes, std::uint64_t line) const {
  return LineEnd(bytes, line) - LineStart(bytes, line);
}

TextPosition ResultIndex::PositionOf(std::span<const char> bytes, std::size_t offset) const {
  CheckBytes(bytes);
  if (offset > indexed_) throw std::out_of_range("ResultIndex: offset past the indexed text");
  const std::uint64_t breaks = BreaksBefore(bytes, offset);
  const bool inCrLf = offset > 0 && offset < indexed_ && bytes[offset] == '\n' && bytes[offset - 1] == '\r';
  if (inCrLf) return {breaks - 1, LineLength(bytes, breaks - 1)};
  return {breaks, offset - LineStart(bytes, breaks)};
}

std::size_t ResultIndex::OffsetOf(std::span<const char> bytes, TextPosition position) const {
  const std::size_t start = LineStart(bytes, position.line);
  const std::size_t end = LineEnd(bytes, position.line);
  return start + static_cast<std::size_t>(std::min<std::uint64_t>(position.column, end - start));
}

}  // namespace quillon
