#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "modes/run_mode.h"

namespace quillon::fuzzing {

// Runs `mode` on real files as the window does, over an earlier output longer than any
// result. The input holds a block size, a progress step, a fault for the run's reads or
// writes (most often none) and its offset (2 bytes), then the input file; the progress step
// also picks the encoding probe. Compares
// everything the run leaves with the byte-at-a-time model: the message (the fault's, when it
// strikes), the output file (the model's result, or the earlier output untouched after a
// fault), its permission bits, the result text, the progress values, the input and the
// folder's listing. Returns what differed, or "" when all agreed.
std::string CheckMode(RevertMode mode, std::span<const std::uint8_t> fuzzInput);

// The encoding probe a fuzz input's progress-step byte picks: for half the inputs a few bytes,
// so that runs on them guess the encoding and confirm it as they go, else the usual size.
std::int64_t ProbeFrom(std::uint8_t choice);

// The same check on `content` with the parameters given.
std::string CheckModeOn(RevertMode mode, EngineTuning tuning, std::uint8_t faultChoice, std::uint16_t faultOffset,
                        std::string_view content);

}  // namespace quillon::fuzzing
