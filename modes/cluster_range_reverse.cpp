#include "modes/cluster_range_reverse.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "fileio/block_io.h"
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

// Reads [from, end) into `into` and cuts it at the first safe place, or at its start when
// that is the range's start. Nothing when no safe place lies inside.
std::optional<CutPiece> ReadAndCut(const FileHandle& input, std::int64_t begin, std::int64_t from, std::int64_t end,
                                   std::span<char> into) {
  const std::span<char> read = into.first(static_cast<std::size_t>(end - from));
  ReadExactlyAt(input, from, read);
  std::size_t cut = 0;
  if (from > begin) {
    const std::optional<std::size_t> found = unicode::FindCutForward(read, 1);
    if (!found) return std::nullopt;
    cut = *found;
  }
  const std::span<char> piece = read.subspan(cut);
  unicode::ReverseClusterOrderInPlace(piece);
  return CutPiece{piece, from + static_cast<std::int64_t>(cut)};
}

// A stretch of one buffer's length with no safe cut inside (emoji, flags, marks or Hangul
// syllables and nothing else) is read again into a working buffer that doubles until it
// holds a cut or reaches the range's start. Such text is rare, and the buffer grows only
// as far as it goes on.
std::int64_t WriteWidePiece(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                            std::int64_t width) {
  std::vector<char> wide;
  for (;;) {
    width *= 2;
    const std::int64_t from = std::max(begin, end - width);
    wide.resize(static_cast<std::size_t>(end - from));
    if (const std::optional<CutPiece> piece = ReadAndCut(input, begin, from, end, wide)) {
      HandCopies(output, piece->bytes);
      return piece->cutAt;
    }
  }
}

}  // namespace

void WriteClustersReversed(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                           const std::function<void(std::int64_t done)>& beforeBlock) {
  const auto block = static_cast<std::int64_t>(output.BufferSize());
  std::int64_t pieceEnd = end;
  while (pieceEnd > begin) {
    beforeBlock(end - pieceEnd);
    const std::int64_t from = std::max(begin, pieceEnd - block);
    const std::span<char> buffer = output.Take();
    if (const std::optional<CutPiece> piece = ReadAndCut(input, begin, from, pieceEnd, buffer)) {
      output.Hand(buffer, piece->bytes);
      pieceEnd = piece->cutAt;
      continue;
    }
    output.Drop(buffer);
    pieceEnd = WriteWidePiece(input, begin, pieceEnd, output, block);
  }
}

}  // namespace quillon
