#include "modes/utf16_output.h"

#include <stdexcept>

namespace quillon {

Utf16Output::Utf16Output(unicode::Utf16Order order, std::size_t largestPiece)
    : encoder_(order),
      largestPiece_(largestPiece),
      encoded_(std::make_unique_for_overwrite<char[]>(unicode::Utf8ToUtf16::MaxOutput(largestPiece))) {}

std::span<const char> Utf16Output::Encode(std::span<const char> utf8) {
  if (utf8.size() > largestPiece_) throw std::logic_error("Utf16Output: a piece longer than the writer's buffers");
  return {encoded_.get(), encoder_.Feed(utf8, encoded_.get())};
}

}  // namespace quillon
