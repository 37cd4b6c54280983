#pragma once

#include <cstddef>
#include <span>

namespace quillon::unicode {

// Extended grapheme clusters of Unicode 15.0 (UAX #29, rules GB1 to GB999), except that CR
// and LF are always clusters of their own: a line break never merges with anything, CR LF
// included. Bytes that are not well-formed UTF-8 count one by one as U+FFFD.

// The end of the cluster that begins at `from`, which must be a cluster boundary of `text`
// (0 is one, and so is every value this returns). Returns text.size() when `from` is there.
std::size_t NextGraphemeBoundary(std::span<const char> text, std::size_t from) noexcept;

}  // namespace quillon::unicode
