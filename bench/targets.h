#pragma once

#include <cstdint>

#include "modes/run_mode.h"

namespace quillon::bench {

// How long a mode may take, as a multiple of cp on the same file, with the echo kept.
double TimeTargetFor(RevertMode mode);

// What a run may hold at its peak besides the echo.
inline constexpr double kMemoryAllowanceMiB = 64;

double MemoryTargetMiB(std::uint64_t echoBytes);

}  // namespace quillon::bench
