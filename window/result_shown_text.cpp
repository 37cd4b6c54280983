#include "window/result_shown_text.h"

#include <stdexcept>

#include "window/cp1252.h"

namespace quillon {

std::size_t ShownText(std::span<const char> bytes, std::span<char16_t> out) {
  if (out.size() < bytes.size()) throw std::length_error("ShownText: no room for the characters");
  std::size_t written = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char byte = bytes[i];
    if (byte == '\r') {
      out[written++] = u'\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      out[written++] = Cp1252ToUnicode(static_cast<unsigned char>(byte));
    }
  }
  return written;
}

char16_t PaintedCharacter(unsigned char byte) noexcept {
  const char16_t character = Cp1252ToUnicode(byte);
  if (character < 0x20 || (character >= 0x7F && character < 0xA0)) return u' ';
  if (character == 0xAD) return u'-';
  return character;
}

}  // namespace quillon
