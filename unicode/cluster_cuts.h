#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace quillon::unicode {

// Places where a long text can be cut into pieces that are segmented on their own: a cluster
// boundary that every reading of the text agrees on, whatever lies before the code point
// just ahead of it. That holds before a code point whose Grapheme_Cluster_Break is Other,
// Control, CR or LF (and that is not Extended_Pictographic) when the code point before it is
// not Prepend, and after a Control, CR or LF. The clusters of the part from such a cut on
// are then those of the whole text, and so are those of the part up to it.
//
// A cut is only certified where both code points around it lie wholly inside `text`, so
// position 0 and text.size() never are.
bool IsContextFreeBoundary(std::span<const char> text, std::size_t at) noexcept;

// The first such cut at or after `from`, if any.
std::optional<std::size_t> FindCutForward(std::span<const char> text, std::size_t from) noexcept;

// The last such cut at or before `from`, if any.
std::optional<std::size_t> FindCutBackward(std::span<const char> text, std::size_t from) noexcept;

}  // namespace quillon::unicode
