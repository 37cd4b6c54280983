#include "unicode/grapheme_breaks.h"

#include "unicode/grapheme_rules.h"
#include "unicode/utf8_decode.h"

namespace quillon::unicode {

GraphemeCursor::GraphemeCursor(std::span<const char> text, std::size_t from) noexcept
    : text_(text), clusterStart_(from < text.size() ? from : text.size()) {
  first_ = DecodeUtf8(text_, clusterStart_);
  firstProperties_ = PropertiesOf(first_.codePoint);
}

std::size_t GraphemeCursor::Next() noexcept {
  if (clusterStart_ >= text_.size()) return text_.size();
  DecodedCodePoint current = first_;
  std::uint8_t properties = firstProperties_;
  detail::ClusterState state(properties);
  std::size_t at = clusterStart_;
  for (;;) {
    at += current.length;
    if (at >= text_.size()) {
      clusterStart_ = text_.size();
      return clusterStart_;
    }
    const DecodedCodePoint next = DecodeUtf8(text_, at);
    const std::uint8_t nextProperties = PropertiesOf(next.codePoint);
    const bool keep = !detail::SurelySplit(properties, nextProperties) && state.Joins(properties, nextProperties);
    if (!keep) {
      clusterStart_ = at;
      first_ = next;
      firstProperties_ = nextProperties;
      return at;
    }
    current = next;
    properties = nextProperties;
  }
}

std::size_t NextGraphemeBoundary(std::span<const char> text, std::size_t from) noexcept {
  return GraphemeCursor(text, from).Next();
}

}  // namespace quillon::unicode
