#include "tests/unicode/reference_clusters.h"

#include <algorithm>
#include <stdexcept>

#include <utf8proc.h>

namespace quillon::testing {

namespace {

bool IsLineBreak(utf8proc_int32_t codePoint) { return codePoint == '\r' || codePoint == '\n'; }

}  // namespace

std::vector<std::size_t> ReferenceBoundaries(std::string_view text) {
  std::vector<std::size_t> boundaries{0};
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  const auto size = static_cast<utf8proc_ssize_t>(text.size());
  utf8proc_int32_t state = 0;
  utf8proc_int32_t previous = -1;
  for (utf8proc_ssize_t at = 0; at < size;) {
    utf8proc_int32_t codePoint;
    const utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &codePoint);
    if (length <= 0) throw std::invalid_argument("reference clusters: not well-formed UTF-8");
    if (previous >= 0) {
      const bool split = utf8proc_grapheme_break_stateful(previous, codePoint, &state);
      if (split || IsLineBreak(previous) || IsLineBreak(codePoint)) boundaries.push_back(static_cast<std::size_t>(at));
    }
    previous = codePoint;
    at += length;
  }
  if (!text.empty()) boundaries.push_back(text.size());
  return boundaries;
}

bool ReferenceKnows(char32_t codePoint) {
  return utf8proc_category(static_cast<utf8proc_int32_t>(codePoint)) != UTF8PROC_CATEGORY_CN;
}

std::string ReferenceReverseClusterOrder(std::string_view text) {
  const std::vector<std::size_t> boundaries = ReferenceBoundaries(text);
  std::string reversed;
  for (std::size_t i = boundaries.size() - 1; i > 0; --i)
    reversed.append(text.substr(boundaries[i - 1], boundaries[i] - boundaries[i - 1]));
  return reversed;
}

std::string ReferenceMirrorEachCluster(std::string_view text) {
  const std::vector<std::size_t> boundaries = ReferenceBoundaries(text);
  std::string mirrored(text);
  for (std::size_t i = 1; i < boundaries.size(); ++i)
    std::reverse(mirrored.begin() + static_cast<std::ptrdiff_t>(boundaries[i - 1]),
                 mirrored.begin() + static_cast<std::ptrdiff_t>(boundaries[i]));
  return mirrored;
}

}  // namespace quillon::testing
