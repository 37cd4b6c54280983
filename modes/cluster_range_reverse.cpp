#include "modes/cluster_range_reverse.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "fileio/block_io.h"
#include "fileio/byte_reverse.h"
#include "fileio/read_ahead.h"
#include "modes/helper_thread.h"
#include "unicode/cluster_cuts.h"
#include "unicode/cluster_reverse.h"

namespace quillon {

namespace {

// The piece [cut, end) of the range, reversed, and where it was cut; the range's start
// counts as a cut.
struct CutPiece {
  std::span<char> bytes;
  std::int64_t cutAt;
};

// Reverses the clusters of `piece` in place; one of at least `splitMinimum` bytes is cut at
// safe places into pieces whose clusters both threads mirror, as ShareOut hands them out.
void ReverseClusters(std::span<char> piece, HelperThread& helper, std::size_t splitMinimum) {
  const std::size_t wanted = HelperThread::PieceCount(piece.size(), splitMinimum);
  std::array<std::size_t, HelperThread::kMostPieces + 1> cuts{};
  std::size_t cutCount = 1;
  for (std::size_t i = 1; i < wanted; ++i) {
    const std::optional<std::size_t> cut = unicode::FindCutForward(piece, piece.size() * i / wanted);
    if (cut && *cut > cuts[cutCount - 1] && *cut < piece.size()) cuts[cutCount++] = *cut;
  }
  if (cutCount == 1) {
    unicode::ReverseClusterOrderInPlace(piece);
    return;
  }
  cuts[cutCount] = piece.size();
  helper.ShareOut(cutCount, [&](std::size_t i) { unicode::MirrorEachCluster(piece.subspan(cuts[i], cuts[i + 1] - cuts[i])); });
  ReverseInPlace(piece);
}

// Reads [from, end) into `into` and cuts it at the first safe place, or at its start when
// that is the range's start. Nothing when no safe place lies inside.
std::optional<CutPiece> ReadAndCut(const FileHandle& input, std::int64_t begin, std::int64_t from, std::int64_t end,
                                   std::span<char> into, HelperThread& helper, std::size_t splitMinimum, EncodingWatch& watch) {
  const std::span<char> read = into.first(static_cast<std::size_t>(end - from));
  ReadExactlyAt(input, from, read);
  watch.Backward(from, read);
  std::size_t cut = 0;
  if (from > begin) {
    const std::optional<std::size_t> found = unicode::FindCutForward(read, 1);
    if (!found) return std::nullopt;
    cut = *found;
  }
  const std::span<char> piece = read.subspan(cut);
  ReverseClusters(piece, helper, splitMinimum);
  return CutPiece{piece, from + static_cast<std::int64_t>(cut)};
}

// A stretch of one buffer's length with no safe cut inside (emoji, flags, marks or Hangul
// syllables and nothing else) is read again into a working buffer that doubles until it
// holds a cut or reaches the range's start. Such text is rare, and the buffer grows only
// as far as it goes on.
std::int64_t WriteWidePiece(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                            std::int64_t width, HelperThread& helper, std::size_t splitMinimum, EncodingWatch& watch) {
  std::vector<char> wide;
  for (;;) {
    width *= 2;
    const std::int64_t from = std::max(begin, end - width);
    wide.resize(static_cast<std::size_t>(end - from));
    if (const std::optional<CutPiece> piece = ReadAndCut(input, begin, from, end, wide, helper, splitMinimum, watch)) {
      HandCopies(output, piece->bytes);
      return piece->cutAt;
    }
  }
}

// The range's blocks from its end back, read on a thread of its own two ahead of the one
// worked on, each into an output buffer: a buffer's length less `overlap`, and the `overlap`
// bytes after it, already read with the block before, where that block's piece was cut off.
class BlocksBackward {
 public:
  struct Block {
    std::int64_t start;
    std::span<char> bytes;  // from `start` on, at the start of their buffer
  };

  BlocksBackward(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output, std::int64_t overlap)
      : reads_(input), begin_(begin), end_(end), output_(output), overlap_(overlap),
        step_(static_cast<std::int64_t>(output.BufferSize()) - overlap) {}

  [[nodiscard]] std::int64_t Overlap() const noexcept { return overlap_; }

  // Reads the blocks that end at `blockEnd` and before from now; what was asked for before
  // is dropped.
  void RestartAt(std::int64_t blockEnd) {
    for (const std::span<char> dropped : reads_.Discard()) output_.Drop(dropped);
    starts_.clear();
    next_ = blockEnd;
    AskForNext();
    AskForNext();
  }

  Block Next() {
    const Block block{starts_.front(), reads_.Next()};
    starts_.pop_front();
    AskForNext();
    return block;
  }

 private:
  void AskForNext() {
    if (next_ <= begin_) return;
    const std::int64_t start = std::max(begin_, next_ - step_);
    const std::int64_t stop = std::min(end_, next_ + overlap_);
    reads_.Request(output_.Take().first(static_cast<std::size_t>(stop - start)), start);
    starts_.push_back(start);
    next_ = start;
  }

  ReadAhead reads_;
  std::int64_t begin_;
  std::int64_t end_;
  OutputWriter& output_;
  std::int64_t overlap_;
  std::int64_t step_;
  std::int64_t next_ = 0;
  std::deque<std::int64_t> starts_;
};

}  // namespace

void WriteClustersReversed(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                           const std::function<void(std::int64_t done)>& beforeBlock, std::size_t splitMinimum,
                           EncodingWatch& watch) {
  HelperThread helper;
  const auto bufferSize = static_cast<std::int64_t>(output.BufferSize());
  BlocksBackward blocks(input, begin, end, output, std::max<std::int64_t>(bufferSize / 16, 1));
  blocks.RestartAt(end);
  std::int64_t pieceEnd = end;
  while (pieceEnd > begin) {
    beforeBlock(end - pieceEnd);
    const BlocksBackward::Block block = blocks.Next();
    watch.Backward(block.start, block.bytes);
    const std::span<char> read = block.bytes.first(static_cast<std::size_t>(pieceEnd - block.start));
    std::size_t cut = 0;
    if (block.start > begin) {
      const std::optional<std::size_t> found = unicode::FindCutForward(read, 1);
      if (!found) {
        output.Drop(block.bytes);
        blocks.RestartAt(begin);
        pieceEnd = WriteWidePiece(input, begin, pieceEnd, output, bufferSize, helper, splitMinimum, watch);
        blocks.RestartAt(pieceEnd);
        continue;
      }
      cut = *found;
    }
    const std::span<char> piece = read.subspan(cut);
    ReverseClusters(piece, helper, splitMinimum);
    output.Hand(block.bytes, piece);
    pieceEnd = block.start + static_cast<std::int64_t>(cut);
    // The next block holds only the overlap of this one: a cut further on is read again.
    if (static_cast<std::int64_t>(cut) > blocks.Overlap()) blocks.RestartAt(pieceEnd);
  }
  blocks.RestartAt(begin);
}

}  // namespace quillon
