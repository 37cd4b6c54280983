#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "unicode/grapheme_breaks.h"

namespace quillon {

// The characters of a UTF-8 result as the view shows them: grapheme clusters, with CR and LF
// on their own, cut after kMaxClusterBytes so that no character is too long to paint or to
// find from a checkpoint. Each cluster's end follows from its own bytes and those after it,
// so walking from any cluster boundary gives the same clusters as walking from the line's
// start.
inline constexpr std::size_t kMaxClusterBytes = 128;
inline constexpr std::uint64_t kTabCells = 8;
// A control shows as its code in hex, in a box two cells wide.
inline constexpr std::uint64_t kControlCells = 2;

// Walks the clusters of `text` from a boundary. `complete` says that no byte follows `text`
// in its line; otherwise a cluster near the end may go on in bytes not yet seen, and Next
// tells it cannot say.
class ClusterWalker {
 public:
  ClusterWalker(std::span<const char> text, bool complete) noexcept : text_(text), complete_(complete), cursor_(text, 0) {}

  // The end of the cluster that begins at `from` (a boundary before the end), or nothing when
  // the bytes seen cannot tell yet.
  [[nodiscard]] std::optional<std::size_t> Next(std::size_t from) noexcept;

 private:
  [[nodiscard]] bool Decided(std::size_t end) const noexcept;
  [[nodiscard]] std::size_t CutAtLimit(std::size_t from) const noexcept;

  std::span<const char> text_;
  bool complete_;
  unicode::GraphemeCursor cursor_;
};

// The cells a cluster takes when it begins at cell `cell`: a tab reaches the next stop, a
// control (C0, DEL or C1) takes kControlCells, any other cluster its display width.
std::uint64_t ClusterCells(std::span<const char> cluster, std::uint64_t cell) noexcept;

// What a control cluster shows as: the code point of a C0 control, DEL or a C1 control, or
// nothing for other clusters.
std::optional<char32_t> ControlOf(std::span<const char> cluster) noexcept;

}  // namespace quillon
