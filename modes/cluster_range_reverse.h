#pragma once

#include <cstdint>
#include <functional>

#include "fileio/file_handle.h"
#include "modes/encoding_watch.h"
#include "modes/output_writer.h"

namespace quillon {

// Writes the grapheme clusters of the input's UTF-8 text [begin, end) last first to `output`,
// each cluster's bytes in their own order. The range must begin and end at cluster
// boundaries (the file's start or end, a line break, a byte-order mark). It is read from its
// end a buffer at a time, ahead of the work, on a thread of its own; each buffer is cut where
// the clusters after the cut do not depend on what lies before it, and only the part after
// the cut is reversed and written. `beforeBlock` is told how many bytes of the range are done
// before each block. Pieces of at least `splitMinimum` bytes are shared out between two
// threads. `watch` sees each block before it is cut.
void WriteClustersReversed(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                           const std::function<void(std::int64_t done)>& beforeBlock, std::size_t splitMinimum,
                           EncodingWatch& watch);

}  // namespace quillon
