#pragma once

#include <cstdint>

#include "resultview/result_lines.h"
#include "resultview/result_position.h"

namespace quillon {

// Words in a result for double clicks and Ctrl+Left/Right. None of these reads more than
// `reach` bytes either way, so that a line of a gigabyte costs a few pages: a longer
// word is cut at the reach.
inline constexpr std::uint64_t kWordReach = std::uint64_t{64} << 10;

struct TextRange {
  TextPosition from;
  TextPosition to;
};

// What a double click on the character at `position` selects: the word there, or else that
// one character. A column at or past the line's end stands for its last character.
TextRange WordAt(const ResultLines& lines, TextPosition position, std::uint64_t reach = kWordReach);

// Ctrl+Right: past the word (or run of other characters) at the caret and the blanks after
// it; from a line's end to the next line's start.
TextPosition WordRight(const ResultLines& lines, TextPosition caret, std::uint64_t reach = kWordReach);

// Ctrl+Left: back over blanks to the start of the word (or run of other characters) before
// them; from a line's start to the previous line's end.
TextPosition WordLeft(const ResultLines& lines, TextPosition caret, std::uint64_t reach = kWordReach);

}  // namespace quillon
