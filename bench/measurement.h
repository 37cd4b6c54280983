#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/text_maker.h"
#include "modes/run_mode.h"

namespace quillon::bench {

// One line of the table: a command on one variant of the text, and what its runs cost.
struct Measurement {
  std::string Command;
  LineBreak Variant = LineBreak::LF;
  std::optional<RevertMode> Mode;  // set for the engine's own rows
  double Scale = 1;                // time measured on a slice, multiplied by this
  std::vector<ChildCost> Runs;
  std::uint64_t OutputBytes = 0;   // of the last run; for a mode, also the echo's size
};

// Each figure's median over the runs, times and CPU scaled; the peak memory is not, since
// the commands that run on a slice stream their input.
ChildCost MedianCost(const Measurement& measurement);

}  // namespace quillon::bench
