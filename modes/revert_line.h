#pragma once

#include "modes/encoding_watch.h"
#include "modes/input_text.h"
#include "modes/mode_context.h"
#include "modes/run_files.h"

namespace quillon {

// "Revert Line": the lines in their order, the characters of each line reversed, each line
// break (LF, CR LF or a lone CR) kept as it was after its line. In UTF-8 text a line's
// grapheme clusters are reversed, and a byte-order mark stays first.
void RevertLine(const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch);

}  // namespace quillon
