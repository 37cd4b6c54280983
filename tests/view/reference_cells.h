#pragma once

#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "resultview/line_cells.h"
#include "unicode/display_width.h"
#include "unicode/grapheme_breaks.h"

namespace quillon::testing {

// The clusters and cells of a line, found from its start with the plain segmenter.
inline std::vector<CellSpot> ReferenceSpots(const std::string& line) {
  std::vector<CellSpot> spots{{0, 0}};
  const std::span<const char> bytes(line.data(), line.size());
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t end = unicode::NextGraphemeBoundary(bytes, at);
    const std::uint64_t cell = spots.back().cell;
    const std::uint64_t width = line[at] == '\t' ? 8 - cell % 8 : static_cast<std::uint64_t>(unicode::ClusterCellWidth(bytes.subspan(at, end - at)));
    spots.push_back({end, cell + width});
    at = end;
  }
  return spots;
}

inline std::string MixedLine(std::size_t repeats) {
  // Clusters of 1 to 18 bytes and 1 to 8 cells, so that many of them straddle an anchor.
  const std::string pieces[] = {"ab", "\xE6\xBC\xA2", "e\xCC\x81", "\t", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA",
                                "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7", "x"};
  std::string line;
  for (std::size_t i = 0; i < repeats; ++i) line += pieces[i * 5 % std::size(pieces)];
  return line;
}

}  // namespace quillon::testing
