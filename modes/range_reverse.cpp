#include "modes/range_reverse.h"

#include <algorithm>

#include "fileio/block_io.h"
#include "fileio/byte_reverse.h"

namespace quillon {

void WriteRangeReversed(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                        const std::function<void(std::int64_t done)>& beforeBlock, EncodingWatch& watch) {
  const auto block = static_cast<std::int64_t>(output.BufferSize());
  for (std::int64_t done = 0; done < end - begin;) {
    beforeBlock(done);
    const std::int64_t length = std::min(block, end - begin - done);
    const std::span<char> piece = output.Take().first(static_cast<std::size_t>(length));
    ReadExactlyAt(input, end - done - length, piece);
    watch.Backward(end - done - length, piece);
    ReverseInPlace(piece);
    done += length;
    output.Hand(piece, piece.size());
  }
}

}  // namespace quillon
