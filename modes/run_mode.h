#pragma once

#include "modes/mode_context.h"

namespace quillon {

enum class RevertMode { SimpleRevert, LineKeep, RevertLine };

// Runs one mode: reads the input, writes the output file and the result text, reports progress.
void RunMode(RevertMode mode, const ModeContext& context);

}  // namespace quillon
