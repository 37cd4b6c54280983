#include "resultview/result_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>

#include "fileio/break_masks.h"

namespace quillon {

namespace {

constexpr std::size_t kBlock = 64;
// Queries read this much at a time: a multiple of the block, small enough for the stack.
constexpr std::size_t kChunk = 16 * kBlock;

// The offset in its 64 bytes of the break numbered `ordinal` (from 0) among those in `starts`.
int NthSetBit(std::uint64_t starts, std::uint64_t ordinal) noexcept {
  for (; ordinal > 0; --ordinal) starts &= starts - 1;
  return std::countr_zero(starts);
}

bool StartsBreak(char byte, bool crBefore) noexcept { return byte == '\r' || (byte == '\n' && !crBefore); }

bool CrBefore(const ByteSource& bytes, std::uint64_t offset) {
  char byte = 0;
  return offset > 0 && bytes.Read(offset - 1, {&byte, 1}) == 1 && byte == '\r';
}

// Reads [from, to) a chunk at a time and hands each chunk, with its offset, to `visit` until
// `visit` returns true or the bytes end. Returns whether `visit` did.
template <typename Visit>
bool ScanChunks(const ByteSource& bytes, std::uint64_t from, std::uint64_t to, Visit visit) {
  std::array<char, kChunk> buffer;
  while (from < to) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, to - from));
    const std::size_t got = bytes.Read(from, {buffer.data(), wanted});
    if (got > 0 && visit(from, std::span<const char>(buffer.data(), got))) return true;
    if (got < wanted) return false;
    from += got;
  }
  return false;
}

}  // namespace

ResultIndex::ResultIndex(std::size_t spacing) : spacing_(spacing) {
  if (spacing == 0 || spacing % kBlock != 0)
    throw std::invalid_argument("ResultIndex: the checkpoint spacing must be a positive multiple of 64 bytes");
}

void ResultIndex::Clear() {
  const std::lock_guard lock(mutex_);
  checkpoints_.assign(1, 0);
  checkpoints_.shrink_to_fit();
  extent_ = {};
  scanned_ = {};
  const std::lock_guard preparedLock(preparedMutex_);
  prepared_.clear();
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
    breaks += static_cast<std::uint64_t>(CountBits(BreakStarts(masks, lastWasCr)));
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

void ResultIndex::Prepare(std::span<const char> bytes) {
  if (bytes.empty()) return;
  Prepared prepared;
  Scan scan{scanned_.breaks, scanned_.longestEnded, scanned_.openLineLength, scanned_.lastWasCr};
  const std::uint64_t base = scanned_.size;
  // Checkpoint 0 is there from the start; the scan made one at every later multiple of the
  // spacing it passed before its end.
  std::uint64_t nextCheckpoint = std::max<std::uint64_t>(1, (base + spacing_ - 1) / spacing_) * spacing_;
  std::vector<std::uint64_t>& found = prepared.checkpoints;
  const auto at = [data = bytes.data(), base](std::uint64_t pos) { return data + (pos - base); };
  const std::uint64_t end = base + bytes.size();
  std::uint64_t pos = base;
  while (pos < end) {
    if (pos == nextCheckpoint) {
      found.push_back(scan.breaks);
      nextCheckpoint += spacing_;
    }
    // Checkpoints lie on 64-byte edges: single bytes only up to the first edge and after the
    // last one.
    const std::uint64_t stop = std::min(nextCheckpoint, end);
    for (; pos < stop && pos % kBlock != 0; ++pos) scan.Byte(*at(pos));
    // Long stretches without a break are passed over faster. The test covers two blocks so
    // that in ordinary text, where most pairs hold a break, it is rarely mispredicted.
    for (; pos + 2 * kBlock <= stop; pos += 2 * kBlock) {
      if (AnyBreakIn<2 * kBlock>(at(pos))) {
        scan.Block(at(pos));
        scan.Block(at(pos + kBlock));
      } else {
        scan.WithoutBreak(2 * kBlock);
      }
    }
    for (; pos + kBlock <= stop; pos += kBlock) scan.Block(at(pos));
    for (; pos < stop; ++pos) scan.Byte(*at(pos));
  }
  scanned_ = {end, scan.breaks, scan.longestEnded, scan.openLineLength, scan.lastWasCr};
  prepared.end = scanned_;
  const std::lock_guard lock(preparedMutex_);
  prepared_.push_back(std::move(prepared));
}

bool ResultIndex::PublishNext() {
  Prepared next;
  {
    const std::lock_guard lock(preparedMutex_);
    if (prepared_.empty()) return false;
    next = std::move(prepared_.front());
    prepared_.pop_front();
  }
  const std::lock_guard lock(mutex_);
  checkpoints_.insert(checkpoints_.end(), next.checkpoints.begin(), next.checkpoints.end());
  extent_ = {next.end.size, next.end.breaks, std::max(next.end.longestEnded, next.end.openLineLength)};
  return true;
}

ResultIndex::Extent ResultIndex::Indexed() const {
  const std::lock_guard lock(mutex_);
  return extent_;
}

std::size_t ResultIndex::MemoryBytes() const {
  const std::lock_guard lock(mutex_);
  return checkpoints_.capacity() * sizeof(std::uint64_t);
}

ResultIndex::Checkpoint ResultIndex::CheckpointAtOrBefore(std::uint64_t offset) const {
  const std::lock_guard lock(mutex_);
  const auto checkpoint = static_cast<std::size_t>(std::min<std::uint64_t>(offset / spacing_, checkpoints_.size() - 1));
  return {checkpoint * spacing_, checkpoints_[checkpoint]};
}

ResultIndex::Checkpoint ResultIndex::LastCheckpointWithAtMost(std::uint64_t breaks) const {
  const std::lock_guard lock(mutex_);
  const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), breaks);
  const auto checkpoint = static_cast<std::size_t>(after - checkpoints_.begin()) - 1;
  return {checkpoint * spacing_, checkpoints_[checkpoint]};
}

std::uint64_t ResultIndex::BreakAt(const ByteSource& bytes, std::uint64_t size, std::uint64_t ordinal) const {
  // The break lies before the next checkpoint, which counts more than `ordinal` breaks.
  const Checkpoint checkpoint = LastCheckpointWithAtMost(ordinal);
  std::uint64_t remaining = ordinal - checkpoint.breaks;
  bool crBefore = CrBefore(bytes, checkpoint.offset);
  std::uint64_t found = size;
  ScanChunks(bytes, checkpoint.offset, std::min<std::uint64_t>(size, checkpoint.offset + spacing_),
             [&](std::uint64_t offset, std::span<const char> chunk) {
               std::size_t i = 0;
               for (; i + kBlock <= chunk.size(); i += kBlock) {
                 const BreakMasks masks = LoadBreakMasks(chunk.data() + i);
                 const std::uint64_t starts = BreakStarts(masks, crBefore);
                 const auto count = static_cast<std::uint64_t>(CountBits(starts));
                 if (remaining < count) {
                   found = offset + i + static_cast<std::uint64_t>(NthSetBit(starts, remaining));
                   return true;
                 }
                 remaining -= count;
                 crBefore = (masks.cr >> 63) != 0;
               }
               for (; i < chunk.size(); ++i) {
                 if (StartsBreak(chunk[i], crBefore)) {
                   if (remaining == 0) {
                     found = offset + i;
                     return true;
                   }
                   --remaining;
                 }
                 crBefore = chunk[i] == '\r';
               }
               return false;
             });
  return found;
}

std::uint64_t ResultIndex::BreaksBefore(const ByteSource& bytes, std::uint64_t offset) const {
  const Checkpoint checkpoint = CheckpointAtOrBefore(offset);
  std::uint64_t breaks = checkpoint.breaks;
  bool crBefore = CrBefore(bytes, checkpoint.offset);
  ScanChunks(bytes, checkpoint.offset, offset, [&](std::uint64_t, std::span<const char> chunk) {
    std::size_t i = 0;
    for (; i + kBlock <= chunk.size(); i += kBlock) {
      const BreakMasks masks = LoadBreakMasks(chunk.data() + i);
      breaks += static_cast<std::uint64_t>(CountBits(BreakStarts(masks, crBefore)));
      crBefore = (masks.cr >> 63) != 0;
    }
    for (; i < chunk.size(); ++i) {
      breaks += StartsBreak(chunk[i], crBefore) ? 1 : 0;
      crBefore = chunk[i] == '\r';
    }
    return false;
  });
  return breaks;
}

}  // namespace quillon
