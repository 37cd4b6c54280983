#pragma once

#include "modes/mode_context.h"

namespace quillon {

// "Simple Revert": the whole input, byte by byte, in reverse order.
void SimpleRevert(const ModeContext& context);

}  // namespace quillon
