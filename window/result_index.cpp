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
  openLineStart_ = 0;
  longestEnded_ = 0;
  longest_ = 0;
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

void ResultIndex::Extend(std::span<const char> bytes) {
  const char* const data = bytes.data();
  const std::size_t end = bytes.size();
  std::size_t pos = indexed_;
  std::size_t nextCheckpoint = checkpoints_.size() * spacing_;
  while (pos < end) {
    if (pos == nextCheckpoint) {
      checkpoints_.push_back(breaks_);
      nextCheckpoint += spacing_;
    }
    if (pos % kBlock == 0 && end - pos >= kBlock) {
      const BreakMasks masks = LoadBreakMasks(data + pos);
      std::uint64_t starts = BreakStarts(masks, lastWasCr_);
      lastWasCr_ = (masks.cr >> 63) != 0;
      if (starts != 0) {
        breaks_ += static_cast<std::uint64_t>(std::popcount(starts));
        if (longestEnded_ >= kBlock) {
          // Lines that begin and end within these 64 bytes cannot be the longest.
          EndLine(bytes, pos + static_cast<std::size_t>(std::countr_zero(starts)));
          openLineStart_ = pos + static_cast<std::size_t>(63 - std::countl_zero(starts)) + 1;
        } else {
          for (; starts != 0; starts &= starts - 1) {
            const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(starts));
            EndLine(bytes, at);
            openLineStart_ = at + 1;
          }
        }
      }
      pos += kBlock;
    } else {
      const char byte = data[pos];
      if (StartsBreak(byte, lastWasCr_)) {
        ++breaks_;
        EndLine(bytes, pos);
        openLineStart_ = pos + 1;
      }
      lastWasCr_ = byte == '\r';
      ++pos;
    }
  }
  indexed_ = end;
  longest_ = std::max(longestEnded_, LengthUpTo(bytes, end));
}

void ResultIndex::EndLine(std::span<const char> bytes, std::size_t breakAt) noexcept {
  longestEnded_ = std::max(longestEnded_, LengthUpTo(bytes, breakAt));
}

std::uint64_t ResultIndex::LengthUpTo(std::span<const char> bytes, std::size_t end) const noexcept {
  std::size_t start = openLineStart_;
  // The open line was started by a CR whose LF came after it: the LF is part of that break.
  if (start < end && start > 0 && bytes[start] == '\n' && bytes[start - 1] == '\r') ++start;
  return end - start;
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
