#pragma once

#include <cstdint>

#include "resultview/result_lines.h"
#include "resultview/result_position.h"

namespace quillon {

// Where the caret of a read-only text goes on the usual keys, a character (a cluster in UTF-8
// text) at a time. Columns past a line's end are taken as its end.

// One character back; from a line's start to the end of the line before.
TextPosition CaretLeft(const ResultLines& lines, TextPosition caret);
// One character on; from a line's end to the start of the line after.
TextPosition CaretRight(const ResultLines& lines, TextPosition caret);
// `delta` lines up (negative) or down, stopping at the first and last line, at the character
// shown in `cell` (its start) or the end of a shorter line. For bytes, cells are columns.
TextPosition CaretVertical(const ResultLines& lines, TextPosition caret, std::int64_t delta, std::uint64_t cell);

}  // namespace quillon
