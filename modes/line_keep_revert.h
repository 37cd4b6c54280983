#pragma once

#include "modes/encoding_watch.h"
#include "modes/input_text.h"
#include "modes/mode_context.h"
#include "modes/run_files.h"

namespace quillon {

// "Line keep": the input's lines from last to first, each followed by CR LF. A byte-order
// mark at the start of UTF-8 text is written first and is not part of the first line.
void LineKeepRevert(const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch);

}  // namespace quillon
