#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillon::fuzzing {

// Checks the result view's cells of UTF-8 text on one input. The first byte picks the index's
// anchor spacing (64 to 256 bytes) and the second the size of the pieces the writer hands
// over (1 to 256); the rest becomes the text, each byte from 0x80 up standing for a code point
// from a list of every kind the cells tell apart (wide, emoji, flags, marks, joiners, C1
// controls), so that the text is well-formed UTF-8 as a run's result is. Each line's
// characters, walked from its start, must be the reference segmenter's clusters (cut at the
// cluster limit) with their widths; each character's first and last byte and cell must map
// to it from the nearest anchor; and the longest line's cells must be exact.
// Returns what differed, or "" when all agreed.
std::string CheckResultCells(std::span<const std::uint8_t> fuzzInput);

}  // namespace quillon::fuzzing
