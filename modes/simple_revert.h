#pragma once

#include "modes/encoding_watch.h"
#include "modes/input_text.h"
#include "modes/mode_context.h"
#include "modes/run_files.h"

namespace quillon {

// "Simple Revert": the whole input in reverse order, byte by byte, or for UTF-8 text
// grapheme cluster by cluster after a byte-order mark that stays first.
void SimpleRevert(const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch);

}  // namespace quillon
