#pragma once

#include <cstdint>
#include <functional>

#include "fileio/file_handle.h"
#include "modes/encoding_watch.h"
#include "modes/output_writer.h"

namespace quillon {

// Writes the input's bytes [begin, end) last first to `output`: each block read from the
// range's end lands in a buffer and is reversed there. `beforeBlock` is told how many bytes
// of the range are done before each block is read; `watch` sees each block before it is reversed.
void WriteRangeReversed(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output,
                        const std::function<void(std::int64_t done)>& beforeBlock, EncodingWatch& watch);

}  // namespace quillon
