#pragma once

#include <compare>
#include <cstdint>

namespace quillon {

// A place in the result between two characters: a line and a column in it, both counted from 0.
// The column is the byte offset in the line, from 0 to the line's length (the place after its
// last character); in UTF-8 text it always falls at a cluster's start.
struct TextPosition {
  std::uint64_t line = 0;
  std::uint64_t column = 0;

  friend constexpr auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

}  // namespace quillon
