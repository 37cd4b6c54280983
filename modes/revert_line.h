#pragma once

#include "modes/mode_context.h"

namespace quillon {

// "Revert Line": the lines in their order, the characters of each line reversed, each line
// break (LF, CR LF or a lone CR) kept as it was after its line.
void RevertLine(const ModeContext& context);

}  // namespace quillon
