#include "unicode/display_width.h"

#include "unicode/code_point_properties.h"
#include "unicode/utf8_decode.h"

namespace quillon::unicode {

namespace {

constexpr char32_t kEmojiPresentationSelector = 0xFE0F;

}  // namespace

int ClusterCellWidth(std::span<const char> cluster) noexcept {
  if (cluster.empty()) return 0;
  const DecodedCodePoint first = DecodeUtf8(cluster, 0);
  const std::uint8_t firstProperties = PropertiesOf(first.codePoint);
  if (firstProperties & property_bits::kMark) return 1;
  if (firstProperties & property_bits::kWide) return 2;
  int regionalIndicators = BreakOf(firstProperties) == GraphemeBreak::RegionalIndicator ? 1 : 0;
  for (std::size_t at = first.length; at < cluster.size();) {
    const DecodedCodePoint next = DecodeUtf8(cluster, at);
    if (next.codePoint == kEmojiPresentationSelector) return 2;
    if (BreakOf(PropertiesOf(next.codePoint)) == GraphemeBreak::RegionalIndicator) ++regionalIndicators;
    at += next.length;
  }
  return regionalIndicators >= 2 ? 2 : 1;
}

bool IsWordCharacter(char32_t codePoint) noexcept {
  return (PropertiesOf(codePoint) & (property_bits::kLetterOrNumber | property_bits::kMark)) != 0;
}

}  // namespace quillon::unicode
