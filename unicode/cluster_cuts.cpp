#include "unicode/cluster_cuts.h"

#include <algorithm>
#include <cstdint>

#include "unicode/code_point_properties.h"
#include "unicode/utf8_decode.h"

namespace quillon::unicode {

namespace {

bool IsBreakControl(GraphemeBreak value) noexcept {
  return value == GraphemeBreak::Control || value == GraphemeBreak::CR || value == GraphemeBreak::LF;
}

}  // namespace

bool IsContextFreeBoundary(std::span<const char> text, std::size_t at) noexcept {
  if (at == 0 || at >= text.size() || IsContinuationByte(text[at])) return false;
  std::size_t previousStart = at - 1;
  while (previousStart > 0 && at - previousStart < 4 && IsContinuationByte(text[previousStart])) --previousStart;
  const DecodedCodePoint previous = DecodeUtf8(text, previousStart);
  // A sequence that does not end right at `at` began before the text, or is not UTF-8.
  if (IsContinuationByte(text[previousStart]) || previousStart + previous.length != at) return false;
  const GraphemeBreak before = BreakOf(PropertiesOf(previous.codePoint));
  if (IsBreakControl(before)) return true;  // GB4

  const std::uint8_t properties = PropertiesOf(DecodeUtf8(text, at).codePoint);
  const GraphemeBreak after = BreakOf(properties);
  if (IsBreakControl(after)) return true;  // GB5
  return after == GraphemeBreak::Other && (properties & property_bits::kExtendedPictographic) == 0 &&
         before != GraphemeBreak::Prepend;
}

std::optional<std::size_t> FindCutForward(std::span<const char> text, std::size_t from) noexcept {
  for (std::size_t at = from; at < text.size(); ++at)
    if (IsContextFreeBoundary(text, at)) return at;
  return std::nullopt;
}

std::optional<std::size_t> FindCutBackward(std::span<const char> text, std::size_t from) noexcept {
  if (text.empty()) return std::nullopt;
  for (std::size_t at = std::min(from, text.size() - 1); at > 0; --at)
    if (IsContextFreeBoundary(text, at)) return at;
  return std::nullopt;
}

}  // namespace quillon::unicode
