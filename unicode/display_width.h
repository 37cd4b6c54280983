#pragma once

#include <span>

namespace quillon::unicode {

// The number of terminal-style cells a grapheme cluster takes in the result view: 2 when its
// first code point is East Asian Wide or Fullwidth, when it asks for emoji presentation
// (U+FE0F) or when it is a flag (two regional indicators); 1 otherwise, combining marks
// standing alone included; 0 for no bytes.
int ClusterCellWidth(std::span<const char> cluster) noexcept;

// Letters and numbers of every script, and marks so that a word keeps its accents: what a
// double click selects as one word.
bool IsWordCharacter(char32_t codePoint) noexcept;

}  // namespace quillon::unicode
