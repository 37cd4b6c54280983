#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quillon::testing {

// A line of a text as the straightforward split finds it: [start, end) and the break after it.
struct ReferenceLine {
  std::size_t start;
  std::size_t end;
};

// Splits the whole text at CR LF, LF and lone CR, byte by byte.
inline std::vector<ReferenceLine> SplitLines(std::string_view text) {
  std::vector<ReferenceLine> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back({start, i});
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back({start, text.size()});
  return lines;
}

}  // namespace quillon::testing
