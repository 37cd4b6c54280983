#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillon::fuzzing {

// Walks a real file backwards with ReadLineBackward and ReadByteBackward, from a starting
// cursor anywhere from before the file to past its end, with jumps of the cursor in between,
// and compares every result and every cursor with the byte-at-a-time model.
// Input: block size byte, starting cursor (2 bytes), count of steps, the steps, the file.
// Returns what differed, or "" when all agreed.
std::string CheckBackwardLines(std::span<const std::uint8_t> fuzzInput);

}  // namespace quillon::fuzzing
