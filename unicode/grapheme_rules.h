#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "unicode/code_point_properties.h"
#include "unicode/utf8_decode.h"

namespace quillon::unicode::detail {

// The UAX #29 rules of grapheme_breaks.h as a table on pairs of break values, and the little a
// cluster must remember for the rules that look further back. Shared by the cursor and by the
// kernels' walk, which must agree to the byte.

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

inline constexpr auto kPairRules = [] {
  std::array<std::array<PairRule, kGraphemeBreakCount>, kGraphemeBreakCount> rules{};
  for (int before = 0; before < kGraphemeBreakCount; ++before)
    for (int after = 0; after < kGraphemeBreakCount; ++after)
      rules[before][after] = RuleFor(static_cast<GraphemeBreak>(before), static_cast<GraphemeBreak>(after));
  return rules;
}();

// Since the cluster began: an odd number of regional indicators so far (all of them, as any
// other code point between two of them would have ended the pair), and whether the text seen
// matches "pictograph Extend*" up to the code point before the current one.
class ClusterState {
 public:
  explicit ClusterState(std::uint8_t firstProperties) noexcept
      : oddRegionalIndicators_(BreakOf(firstProperties) == GraphemeBreak::RegionalIndicator) {}

  // Whether a code point with `next` properties joins the cluster after one with `current`
  // ones; the state moves on past `current`, and past `next` when it joins.
  bool Joins(std::uint8_t current, std::uint8_t next) noexcept {
    const GraphemeBreak before = BreakOf(current);
    const GraphemeBreak after = BreakOf(next);
    // Updated for "before": a pictograph starts the sequence, Extend carries it on.
    if (current & property_bits::kExtendedPictographic)
      afterPictograph_ = true;
    else if (before != GraphemeBreak::Extend && before != GraphemeBreak::ZWJ)
      afterPictograph_ = false;

    bool keep;
    switch (kPairRules[static_cast<int>(before)][static_cast<int>(after)]) {
      case PairRule::Keep:
        keep = true;
        break;
      case PairRule::KeepIfOddRegionalIndicators:
        keep = oddRegionalIndicators_;
        break;
      case PairRule::KeepIfEmojiZwj:
        keep = afterPictograph_ && (next & property_bits::kExtendedPictographic);
        break;
      default:
        keep = false;
    }
    if (!keep) return false;
    if (after == GraphemeBreak::RegionalIndicator) oddRegionalIndicators_ = !oddRegionalIndicators_;
    // A ZWJ ends the "pictograph Extend*" part; only the pictograph right after it may join.
    if (before == GraphemeBreak::ZWJ) afterPictograph_ = false;
    return true;
  }

 private:
  bool oddRegionalIndicators_;
  bool afterPictograph_ = false;
};

// Two neighbours whose break values are both Other are split by GB999 whatever came before:
// the common case in most scripts, decided without the table or the state.
inline bool SurelySplit(std::uint8_t current, std::uint8_t next) noexcept {
  return ((current | next) & property_bits::kBreakMask) == 0;
}

// What the walk needs of the code point at `at`: its length and the properties that bear on
// breaks. Code points from U+4000 to U+9FFF (CJK ideographs, Yijing hexagrams) all have the
// break value Other and are no pictographs, so the bulk of Chinese and Japanese text skips the
// decoding and the table; the properties given for them hold the break bits alone.
struct WalkStep {
  std::size_t length;
  std::uint8_t properties;
};

inline WalkStep StepAt(std::span<const char> text, std::size_t at) noexcept {
  const auto byteAt = [&](std::size_t index) { return static_cast<std::uint8_t>(text[index]); };
  const std::uint8_t lead = byteAt(at);
  if (lead >= 0xE4 && lead <= 0xE9 && text.size() - at >= 3 && (byteAt(at + 1) & 0xC0u) == 0x80u &&
      (byteAt(at + 2) & 0xC0u) == 0x80u)
    return {3, 0};
  const DecodedCodePoint decoded = DecodeUtf8(text, at);
  return {decoded.length, PropertiesOf(decoded.codePoint)};
}

// Hands each cluster from `from` (a cluster boundary) on to onCluster(begin, end), decoding
// every code point once, until a cluster begins with an ASCII byte or the text ends. Returns
// where it stopped.
template <typename OnCluster>
std::size_t WalkClustersUntilAscii(std::span<const char> text, std::size_t from, OnCluster&& onCluster) {
  const std::size_t size = text.size();
  if (from >= size) return size;
  WalkStep current = StepAt(text, from);
  ClusterState state(current.properties);
  std::size_t clusterStart = from;
  std::size_t at = from;
  for (;;) {
    at += current.length;
    if (at >= size) {
      onCluster(clusterStart, size);
      return size;
    }
    const WalkStep next = StepAt(text, at);
    if (SurelySplit(current.properties, next.properties) || !state.Joins(current.properties, next.properties)) {
      onCluster(clusterStart, at);
      if (static_cast<std::uint8_t>(text[at]) < 0x80) return at;
      clusterStart = at;
      state = ClusterState(next.properties);
    }
    current = next;
  }
}

}  // namespace quillon::unicode::detail
