#pragma once

#include "modes/mode_context.h"

namespace quillon {

// "Line keep": the input's lines from last to first, each followed by CR LF.
void LineKeepRevert(const ModeContext& context);

}  // namespace quillon
