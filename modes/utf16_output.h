#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "unicode/utf16_text.h"

namespace quillon {

// Turns the result of a run on the UTF-8 copy of UTF-16 text back into UTF-16 of the input's
// byte order, piece by piece as the pieces are written (a sequence may straddle two pieces).
// The result of such a run is well-formed UTF-8, so nothing is left open at its end.
class Utf16Output {
 public:
  Utf16Output(unicode::Utf16Order order, std::size_t largestPiece);

  // `utf8` (at most `largestPiece` bytes) in UTF-16, valid until the next call.
  std::span<const char> Encode(std::span<const char> utf8);

 private:
  unicode::Utf8ToUtf16 encoder_;
  std::size_t largestPiece_;
  std::unique_ptr<char[]> encoded_;
};

}  // namespace quillon
