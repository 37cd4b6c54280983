#pragma once

#include <span>

namespace quillon::unicode {

// Kernels for the modes on UTF-8 text. Each takes a run: bytes holding no CR or LF that
// begin and end at grapheme cluster boundaries, such as a line's content. Runs should be
// well-formed UTF-8; any other byte is a cluster of its own (see grapheme_breaks.h).

// Writes the run's clusters to `out` in reverse order, each cluster's bytes in their own
// order: "Revert Line" for UTF-8 text. `out` must be as long as `run` and not overlap it;
// throws std::invalid_argument when the sizes differ.
void ReverseClusterOrder(std::span<const char> run, std::span<char> out);

// The same, in place.
void ReverseClusterOrderInPlace(std::span<char> run) noexcept;

// Reverses the bytes inside each cluster and leaves the clusters where they are. Reversing
// all bytes of a text afterwards gives its clusters in reverse order, each one intact.
void MirrorEachCluster(std::span<char> run) noexcept;

}  // namespace quillon::unicode
