#pragma once

#include <cstdint>

#include "resultview/result_lines.h"
#include "resultview/result_position.h"
#include "resultview/result_words.h"

namespace quillon {

// WordAt, WordRight and WordLeft for UTF-8 text: the same rules over grapheme clusters, where
// a cluster makes words when its first code point is a letter, number or mark of any script.
TextRange ClusterWordAt(const ResultLines& lines, TextPosition position, std::uint64_t reach);
TextPosition ClusterWordRight(const ResultLines& lines, TextPosition caret, std::uint64_t reach);
TextPosition ClusterWordLeft(const ResultLines& lines, TextPosition caret, std::uint64_t reach);

}  // namespace quillon
