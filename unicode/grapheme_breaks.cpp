#include "unicode/grapheme_breaks.h"

#include <array>
#include <cstdint>

#include "unicode/code_point_properties.h"
#include "unicode/utf8_decode.h"

namespace quillon::unicode {

namespace {

// What the rules say about a pair of neighbours when only their break values are known.
enum class PairRule : std::uint8_t {
  Break,
  Keep,
  KeepIfOddRegionalIndicators,  // GB12, GB13: flags pair up from the left
  KeepIfEmojiZwj,               // GB11: ZWJ after a pictograph and its extenders
};

constexpr PairRule RuleFor(GraphemeBreak before, GraphemeBreak after) {
  using enum GraphemeBreak;
  const auto isAnyOf = [](GraphemeBreak value, std::initializer_list<GraphemeBreak> set) {
    for (const GraphemeBreak member : set)
      if (value == member) return true;
    return false;
  };
  // GB4, GB5; CR LF (GB3) is split on purpose.
  if (isAnyOf(before, {CR, LF, Control}) || isAnyOf(after, {CR, LF, Control})) return PairRule::Break;
  if (before == L && isAnyOf(after, {L, V, LV, LVT})) return PairRule::Keep;             // GB6
  if (isAnyOf(before, {LV, V}) && isAnyOf(after, {V, T})) return PairRule::Keep;         // GB7
  if (isAnyOf(before, {LVT, T}) && after == T) return PairRule::Keep;                    // GB8
  if (isAnyOf(after, {Extend, ZWJ, SpacingMark})) return PairRule::Keep;                 // GB9, GB9a
  if (before == Prepend) return PairRule::Keep;                                          // GB9b
  if (before == ZWJ) return PairRule::KeepIfEmojiZwj;                                    // GB11
  if (before == RegionalIndicator && after == RegionalIndicator) return PairRule::KeepIfOddRegionalIndicators;
  return PairRule::Break;  // GB999
}

constexpr auto kPairRules = [] {
  std::array<std::array<PairRule, kGraphemeBreakCount>, kGraphemeBreakCount> rules{};
  for (int before = 0; before < kGraphemeBreakCount; ++before)
    for (int after = 0; after < kGraphemeBreakCount; ++after)
      rules[before][after] = RuleFor(static_cast<GraphemeBreak>(before), static_cast<GraphemeBreak>(after));
  return rules;
}();

}  // namespace

GraphemeCursor::GraphemeCursor(std::span<const char> text, std::size_t from) noexcept
    : text_(text), clusterStart_(from < text.size() ? from : text.size()) {
  first_ = DecodeUtf8(text_, clusterStart_);
  firstProperties_ = PropertiesOf(first_.codePoint);
}

std::size_t GraphemeCursor::Next() noexcept {
  if (clusterStart_ >= text_.size()) return text_.size();
  DecodedCodePoint current = first_;
  std::uint8_t properties = firstProperties_;
  // Since the cluster began: an odd number of regional indicators so far (all of them, as
  // any other code point between two of them would have ended the pair), and whether the
  // text seen matches "pictograph Extend*" up to the code point before the current one.
  bool oddRegionalIndicators = BreakOf(properties) == GraphemeBreak::RegionalIndicator;
  bool afterPictograph = false;
  std::size_t at = clusterStart_;
  for (;;) {
    at += current.length;
    if (at >= text_.size()) {
      clusterStart_ = text_.size();
      return clusterStart_;
    }
    const DecodedCodePoint next = DecodeUtf8(text_, at);
    const std::uint8_t nextProperties = PropertiesOf(next.codePoint);
    const GraphemeBreak before = BreakOf(properties);
    const GraphemeBreak after = BreakOf(nextProperties);

    // Updated for "before": a pictograph starts the sequence, Extend carries it on.
    if (properties & property_bits::kExtendedPictographic)
      afterPictograph = true;
    else if (before != GraphemeBreak::Extend && before != GraphemeBreak::ZWJ)
      afterPictograph = false;

    bool keep;
    switch (kPairRules[static_cast<int>(before)][static_cast<int>(after)]) {
      case PairRule::Keep:
        keep = true;
        break;
      case PairRule::KeepIfOddRegionalIndicators:
        keep = oddRegionalIndicators;
        break;
      case PairRule::KeepIfEmojiZwj:
        keep = afterPictograph && (nextProperties & property_bits::kExtendedPictographic);
        break;
      default:
        keep = false;
    }
    if (!keep) {
      clusterStart_ = at;
      first_ = next;
      firstProperties_ = nextProperties;
      return at;
    }
    if (after == GraphemeBreak::RegionalIndicator) oddRegionalIndicators = !oddRegionalIndicators;
    // A ZWJ ends the "pictograph Extend*" part; only the pictograph right after it may join.
    if (before == GraphemeBreak::ZWJ) afterPictograph = false;
    current = next;
    properties = nextProperties;
  }
}

std::size_t NextGraphemeBoundary(std::span<const char> text, std::size_t from) noexcept {
  return GraphemeCursor(text, from).Next();
}

}  // namespace quillon::unicode
