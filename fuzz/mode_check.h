#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "modes/run_mode.h"

namespace quillon::fuzzing {

// Runs `mode` on real files as the window does, with the block size and progress step taken
// from the input's first two bytes and the rest as the input file, over an earlier output
// longer than any result. Compares everything the run leaves with the byte-at-a-time model:
// the output file, its permission bits, the result text, the progress values, the input and
// the folder's listing. Returns what differed, or "" when all agreed.
std::string CheckMode(RevertMode mode, std::span<const std::uint8_t> fuzzInput);

}  // namespace quillon::fuzzing
