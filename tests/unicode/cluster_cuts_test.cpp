#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/unicode/reference_clusters.h"
#include "tests/unicode/utf8_text.h"
#include "unicode/cluster_cuts.h"

namespace quillon::unicode {
namespace {

using testing::ReferenceBoundaries;
using testing::Utf8;

struct CutCase {
  std::u32string before;
  std::u32string after;
  bool cut;
};

// Whether a piece may be cut between `before` and `after`, whatever came earlier.
TEST(ClusterCuts, OnlyWhereNoRuleLooksFurtherBack) {
  const CutCase cases[] = {
      {U"a", U"b", true},
      {U"e\u0301", U"x", true},             // after a combining mark, before a letter
      {U"\u6F22", U"\u5B57", true},          // CJK
      {U"a", U"\r", true},                   // before a break
      {U"\n", U"\u0301", true},              // after a break, a lone mark begins a cluster
      {U"\u00AD", U"\u0301", true},          // after a control
      {U"a", U"\u0301", false},              // a mark attaches to what came before
      {U"a", U"\u200D", false},              // so does a joiner
      {U"\u0915", U"\u0903", false},         // and a spacing mark
      {U"\u0600", U"a", false},              // a prepended mark pulls the next letter in
      {U"x", U"\U0001F44D", false},          // a pictograph may follow a ZWJ sequence's joiner
      {U"\U0001F1E9", U"\U0001F1EA", false}, // regional indicators pair up from the left
      {U"a", U"\U0001F1E9", false},
      {U"\u1100", U"\u1161", false},         // Hangul L V
      {U"a", U"\uAC00", false},              // Hangul syllables are never Other
  };
  for (const CutCase& test : cases) {
    const std::string before = Utf8(test.before);
    const std::string text = before + Utf8(test.after);
    EXPECT_EQ(IsContextFreeBoundary(text, before.size()), test.cut) << text;
  }
}

TEST(ClusterCuts, NeverWhereACodePointIsCutOrOutsideTheText) {
  const std::string text = Utf8(U"\u00E9\u6F22b");
  EXPECT_FALSE(IsContextFreeBoundary(text, 0));
  EXPECT_FALSE(IsContextFreeBoundary(text, 1));  // inside é
  EXPECT_FALSE(IsContextFreeBoundary(text, text.size()));
  // Seen from a piece that begins inside the é, what comes before the CJK is unknown.
  EXPECT_FALSE(IsContextFreeBoundary(std::string_view(text).substr(1), 1));
  EXPECT_EQ(FindCutForward(text, 0), 2U);
  EXPECT_EQ(FindCutForward(text, 3), 5U);
  EXPECT_EQ(FindCutBackward(text, 4), 2U);
  EXPECT_EQ(FindCutBackward(text, 1), std::nullopt);
  EXPECT_EQ(FindCutForward(Utf8(U"\U0001F1E9\U0001F1EA\U0001F1E9\U0001F1EA"), 0), std::nullopt);
}

// Each cut lies on a boundary of the whole text, and the two parts it makes have the whole
// text's boundaries on their own, as the utf8proc reference finds them.
TEST(ClusterCuts, PartsAreSegmentedAsTheWholeOnRandomText) {
  static constexpr char32_t kPieces[] = {U'a', U'\r', U'\n', 0x0301, 0x200D, 0xFE0F, 0x1F3FD, 0x1F1E9, 0x1F1EA, 0x1F468,
                                         0x2764, 0x1100, 0x1161, 0x11A8, 0xAC00, 0x0600, 0x0903, 0x0915, 0x094D, 0x00AD, 0x6F22};
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::u32string codePoints;
    const auto length = random() % 24;
    for (unsigned i = 0; i < length; ++i) codePoints += kPieces[random() % std::size(kPieces)];
    const std::string text = Utf8(codePoints);
    const std::vector<std::size_t> whole = ReferenceBoundaries(text);
    for (std::size_t at = 0; at <= text.size(); ++at) {
      if (!IsContextFreeBoundary(text, at)) continue;
      SCOPED_TRACE(testing::Utf8(codePoints) + " cut at " + std::to_string(at));
      ASSERT_TRUE(std::binary_search(whole.begin(), whole.end(), at));
      std::vector<std::size_t> joined = ReferenceBoundaries(std::string_view(text).substr(0, at));
      for (const std::size_t boundary : ReferenceBoundaries(std::string_view(text).substr(at)))
        if (boundary > 0) joined.push_back(at + boundary);
      EXPECT_EQ(joined, whole);
    }
  }
}

}  // namespace
}  // namespace quillon::unicode
