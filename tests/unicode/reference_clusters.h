#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::testing {

// Cluster boundaries by utf8proc (Unicode 15.0), with CR and LF split out as clusters of their
// own; an independent reference for the Unicode library. Takes well-formed UTF-8 only.
// Returns every boundary offset, 0 and the size included (just 0 for empty text).
std::vector<std::size_t> ReferenceBoundaries(std::string_view text);

// Whether the reference knows the code point's properties: utf8proc gives none to unassigned
// code points, though the Unicode data marks some of them (the reserved pictograph ranges,
// which join by ZWJ) and so does this library. Texts compared with it hold known ones only.
bool ReferenceKnows(char32_t codePoint);

// The clusters in reverse order, each intact.
std::string ReferenceReverseClusterOrder(std::string_view text);

// Each cluster's bytes reversed, the clusters in place.
std::string ReferenceMirrorEachCluster(std::string_view text);

}  // namespace quillon::testing
