// The cluster kernels, fast paths included, against utf8proc on random mixed text.
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unicode/reference_clusters.h"
#include "tests/unicode/utf8_text.h"
#include "unicode/cluster_reverse.h"

namespace quillon::testing {
namespace {

// Code points that each exercise a rule, by kind, so that random text meets them all.
const std::vector<std::u32string> kPieces = {
    U"a", U"Z", U"5", U" ", U".", U"\t", U"\x01", U"\x7F",  // ASCII, controls among them
    U"\u00E4", U"\u00DF", U"\u00E9",                        // Latin-1 letters
    U"\u00C0", U"\u027F", U"\u0280", U"\u00BF", U"\u00A9",  // around the two-byte letters' fast path
    U"\u0301", U"\u0308",                                   // combining marks
    U"\u1100", U"\u1161", U"\u11A8", U"\uAC00", U"\uAC01",  // Hangul L, V, T, LV, LVT
    U"\U0001F1E9", U"\U0001F1EA",                           // regional indicators
    U"\u200D", U"\U0001F468", U"\U0001F469", U"\u2764",     // ZWJ and pictographs
    U"\U0001F3FD", U"\uFE0F",                               // skin tone, emoji presentation
    U"\U0001F3FA", U"\U0001F53E", U"\U0001F93B", U"\U0001F100",  // around the pictographs' fast path
    U"\u0903", U"\u0600", U"\u0915",                        // SpacingMark, Prepend, Devanagari
    U"\u3FFF", U"\u4000", U"\u9FFF", U"\uA000",             // around the ideographs' fast path
    U"\u6F22", U"\u00AD", U"\u0085", U"\U000E0020",         // CJK, format, C1 control, tag
    U"\U0001F468\u200D\U0001F469\u200D\U0001F467",          // a whole family
    U"\U0001F44D\U0001F3FD",                                // thumbs up, medium skin
};

std::string RandomRun(std::mt19937& random) {
  // Some runs are mostly ASCII with long stretches, so that the vector paths take part.
  const int asciiPercent = std::uniform_int_distribution<int>(0, 100)(random);
  const int length = std::uniform_int_distribution<int>(0, 120)(random);
  std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> asciiLetter('!', '~');
  std::u32string codePoints;
  for (int i = 0; i < length; ++i) {
    if (percent(random) < asciiPercent)
      codePoints += static_cast<char32_t>(asciiLetter(random));
    else
      codePoints += kPieces[pick(random)];
  }
  return Utf8(codePoints);
}

TEST(ClusterKernels, AgreeWithUtf8procOnRandomRuns) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    const std::string run = RandomRun(random);
    ASSERT_EQ(GraphemeBoundariesOf(run), ReferenceBoundaries(run)) << "boundaries of " << ::testing::PrintToString(run);

    std::string reversed(run.size(), '\0');
    unicode::ReverseClusterOrder(run, reversed);
    ASSERT_EQ(reversed, ReferenceReverseClusterOrder(run)) << ::testing::PrintToString(run);

    std::string inPlace = run;
    unicode::ReverseClusterOrderInPlace(inPlace);
    ASSERT_EQ(inPlace, reversed) << ::testing::PrintToString(run);

    std::string mirrored = run;
    unicode::MirrorEachCluster(mirrored);
    ASSERT_EQ(mirrored, ReferenceMirrorEachCluster(run)) << ::testing::PrintToString(run);
  }
}

// Line breaks split clusters on both sides, where UAX #29 would keep CR LF and nothing else.
TEST(ClusterKernels, LineBreaksAreClustersOfTheirOwn) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string text = RandomRun(random) + "\r\n\u0301" + RandomRun(random) + "\r\r\n\n" + RandomRun(random);
    ASSERT_EQ(GraphemeBoundariesOf(text), ReferenceBoundaries(text)) << ::testing::PrintToString(text);
  }
  EXPECT_EQ(GraphemeBoundariesOf("a\r\n\u0301"), (std::vector<std::size_t>{0, 1, 2, 3, 5}));
}

// Each run is one of these: expected in clusters, as the kernels must reverse them.
struct RunCase {
  const char* name;
  std::vector<std::u32string> clusters;
};

class ClusterKernelCases : public ::testing::TestWithParam<RunCase> {};

TEST_P(ClusterKernelCases, ReverseTheClustersAndMirrorEachOne) {
  std::string run;
  std::string expectedOrder;
  std::string expectedMirror;
  for (const std::u32string& cluster : GetParam().clusters) {
    const std::string bytes = Utf8(cluster);
    run += bytes;
    expectedOrder.insert(0, bytes);
    expectedMirror.append(bytes.rbegin(), bytes.rend());
  }
  std::string reversed(run.size(), '\0');
  unicode::ReverseClusterOrder(run, reversed);
  EXPECT_EQ(reversed, expectedOrder);
  std::string mirrored = run;
  unicode::MirrorEachCluster(mirrored);
  EXPECT_EQ(mirrored, expectedMirror);
}

const std::u32string kLongAscii(70, U'x');

INSTANTIATE_TEST_SUITE_P(
    Runs, ClusterKernelCases,
    ::testing::Values(RunCase{"empty", {}}, RunCase{"ascii", {U"a", U"b", U"c"}},
                      RunCase{"mark_on_ascii_letter", {U"n", U"e\u0301", U"e"}},
                      RunCase{"mark_after_long_ascii", {kLongAscii, U"e\u0301", kLongAscii}},
                      RunCase{"prepend_pulls_in_ascii", {U"x", U"\u0600" U"1", U"2"}},
                      RunCase{"flags_pair_from_the_left", {U"\U0001F1E9\U0001F1EA", U"\U0001F1E9\U0001F1EA", U"\U0001F1E9"}},
                      RunCase{"zwj_family_with_skin_tone",
                              {U"a", U"\U0001F468\U0001F3FD\u200D\U0001F469", U"\u2764\uFE0F", U"b"}},
                      RunCase{"reserved_pictograph_joins_by_zwj", {U"\U0001F268\u200D\U0001F468", U"x"}},
                      RunCase{"hangul_syllables", {U"\u1100\u1161\u11A8", U"\uAC00\u11A8", U"\uAC01", U"\u1161"}},
                      RunCase{"spacing_mark", {U"\u0915\u0903", U"a\u0903"}},
                      RunCase{"controls_alone", {U"\t", U"\u0301", U"\x01", U"a"}}),
    [](const ::testing::TestParamInfo<RunCase>& param) { return std::string(param.param.name); });

TEST(ClusterKernels, RejectAnOutputOfTheWrongSize) {
  std::string out(2, '\0');
  EXPECT_THROW(unicode::ReverseClusterOrder(std::string_view("abc"), out), std::invalid_argument);
}

TEST(ClusterKernels, TreatEachMalformedByteAsOneCluster) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\xFF\xC3" "b\xE6\xBC", "\xBC\xE6" "b\xC3\xFF" "a"},
      // Among long stretches of letters: a lead cut short, a lone continuation byte.
      {"\xC3\xA4" "bcdefghijklmno\xC3" "qrstuvwxyz\xA4" "ABCDEFGHIJ", "JIHGFEDCBA\xA4" "zyxwvutsrq\xC3" "onmlkjihgfedcb\xC3\xA4"},
      {"\xE6\xBC\xA2" "bcdefghijklmnopqrstu\xE6\xBC" "v", "v\xBC\xE6" "utsrqponmlkjihgfedcb\xE6\xBC\xA2"},
  };
  for (const auto& [run, expected] : cases) {
    std::string reversed(run.size(), '\0');
    unicode::ReverseClusterOrder(run, reversed);
    EXPECT_EQ(reversed, expected) << ::testing::PrintToString(run);
    std::string inPlace = run;
    unicode::ReverseClusterOrderInPlace(inPlace);
    EXPECT_EQ(inPlace, expected) << ::testing::PrintToString(run);
  }
}

}  // namespace
}  // namespace quillon::testing
