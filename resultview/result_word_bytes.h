#pragma once

#include <array>
#include <cstddef>

namespace quillon {

// Which bytes of a result make words: those whose Windows-1252 character is a letter or a
// number, and '_'.
inline constexpr std::array<bool, 256> kWordBytes = [] {
  std::array<bool, 256> word{};
  for (int byte = '0'; byte <= '9'; ++byte) word[static_cast<std::size_t>(byte)] = true;
  for (int byte = 'A'; byte <= 'Z'; ++byte) word[static_cast<std::size_t>(byte)] = true;
  for (int byte = 'a'; byte <= 'z'; ++byte) word[static_cast<std::size_t>(byte)] = true;
  word['_'] = true;
  // ƒ ˆ Š Œ Ž š œ ž Ÿ, then ª ² ³ µ ¹ º ¼ ½ ¾.
  for (const int byte : {0x83, 0x88, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB2, 0xB3, 0xB5, 0xB9, 0xBA, 0xBC, 0xBD, 0xBE})
    word[static_cast<std::size_t>(byte)] = true;
  // À to ÿ but × and ÷.
  for (int byte = 0xC0; byte <= 0xFF; ++byte) word[static_cast<std::size_t>(byte)] = byte != 0xD7 && byte != 0xF7;
  return word;
}();

constexpr bool IsWordByte(unsigned char byte) noexcept { return kWordBytes[byte]; }

// The blanks between words: space, tab, vertical tab, form feed and the no-break space.
constexpr bool IsBlankByte(unsigned char byte) noexcept {
  return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f' || byte == 0xA0;
}

}  // namespace quillon
