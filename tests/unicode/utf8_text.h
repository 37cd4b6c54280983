#pragma once

#include <string>
#include <string_view>

namespace quillon::testing {

// Appends the UTF-8 form of a code point (any value up to U+10FFFF, surrogates included, so
// that tests can build malformed text on purpose).
void AppendUtf8(std::string& text, char32_t codePoint);

std::string Utf8(std::u32string_view codePoints);

}  // namespace quillon::testing

#include <cstddef>
#include <vector>

namespace quillon::testing {

// Every cluster boundary the Unicode library finds, 0 and the size included (just 0 for
// empty text), in the form ReferenceBoundaries gives.
std::vector<std::size_t> GraphemeBoundariesOf(std::string_view text);

}  // namespace quillon::testing
