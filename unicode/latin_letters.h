#pragma once

#include <cstddef>
#include <span>

namespace quillon::unicode {

// European text is mostly ASCII and two-byte letters of U+00C0 to U+027F (Latin-1 letters,
// Latin Extended, IPA). Every one of those has the break value Other, and no rule joins Other
// or ASCII to either, so in a stretch of them that ends before another such code point every
// code point is a cluster of its own. These find such stretches and mirror their letters 16
// bytes a step, where the cluster walk would take one letter a step.

// The end of the stretch of ASCII and such letters that starts at `from`, a code point's start
// in well-formed UTF-8, looked at 16 bytes a step: a code point's start, where the code point
// after it, if any, is ASCII or such a letter too; `from` when there is none.
std::size_t LatinStretchEnd(std::span<const char> text, std::size_t from) noexcept;

// Swaps the two bytes of every letter in a stretch LatinStretchEnd found.
void MirrorLatinLetters(std::span<char> stretch) noexcept;

}  // namespace quillon::unicode
