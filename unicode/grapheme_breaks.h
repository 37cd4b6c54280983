#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "unicode/utf8_decode.h"

namespace quillon::unicode {

// Extended grapheme clusters of Unicode 15.0 (UAX #29, rules GB1 to GB999), except that CR
// and LF are always clusters of their own: a line break never merges with anything, CR LF
// included. Bytes that are not well-formed UTF-8 count one by one as U+FFFD.

// Walks the cluster boundaries of `text` forwards from `from`, which must be a boundary (0
// is one, and so is every value Next returns).
class GraphemeCursor {
 public:
  GraphemeCursor(std::span<const char> text, std::size_t from) noexcept;

  // The end of the cluster that begins where the cursor stands, where it then stands.
  // Returns text.size() at the end, and again on every further call.
  std::size_t Next() noexcept;

  [[nodiscard]] std::size_t Position() const noexcept { return clusterStart_; }

 private:
  std::span<const char> text_;
  std::size_t clusterStart_;
  DecodedCodePoint first_{};       // the code point at clusterStart_, decoded ahead
  std::uint8_t firstProperties_ = 0;
};

// The end of the cluster that begins at `from`, which must be a cluster boundary of `text`.
// Returns text.size() when `from` is there.
std::size_t NextGraphemeBoundary(std::span<const char> text, std::size_t from) noexcept;

}  // namespace quillon::unicode
