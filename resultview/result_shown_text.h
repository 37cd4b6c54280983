#pragma once

#include <cstddef>
#include <span>

namespace quillon {

// The characters a piece of the result stands for, as a copy gives them: each byte its
// Windows-1252 character, each line break (CR LF, LF or a lone CR) one LF. `out` must have room
// for bytes.size() characters. Returns how many it wrote.
std::size_t ShownText(std::span<const char> bytes, std::span<char16_t> out);

// The character painted for a byte within a line. Every byte takes exactly one column, so
// characters that fonts draw with no width or several (controls, tab, the soft hyphen) are
// painted as a blank, and the soft hyphen as a hyphen.
char16_t PaintedCharacter(unsigned char byte) noexcept;

}  // namespace quillon
