#include "tests/unicode/utf8_text.h"

namespace quillon::testing {

void AppendUtf8(std::string& text, char32_t codePoint) {
  const auto add = [&](char32_t value) { text.push_back(static_cast<char>(value)); };
  if (codePoint < 0x80) {
    add(codePoint);
  } else if (codePoint < 0x800) {
    add(0xC0 | codePoint >> 6);
    add(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    add(0xE0 | codePoint >> 12);
    add(0x80 | (codePoint >> 6 & 0x3F));
    add(0x80 | (codePoint & 0x3F));
  } else {
    add(0xF0 | codePoint >> 18);
    add(0x80 | (codePoint >> 12 & 0x3F));
    add(0x80 | (codePoint >> 6 & 0x3F));
    add(0x80 | (codePoint & 0x3F));
  }
}

std::string Utf8(std::u32string_view codePoints) {
  std::string text;
  for (const char32_t codePoint : codePoints) AppendUtf8(text, codePoint);
  return text;
}

}  // namespace quillon::testing

#include "unicode/grapheme_breaks.h"

namespace quillon::testing {

std::vector<std::size_t> GraphemeBoundariesOf(std::string_view text) {
  std::vector<std::size_t> boundaries{0};
  for (std::size_t at = 0; at < text.size();) {
    at = unicode::NextGraphemeBoundary(text, at);
    boundaries.push_back(at);
  }
  return boundaries;
}

}  // namespace quillon::testing
