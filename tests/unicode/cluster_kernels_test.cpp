// The cluster kernels, fast paths included, against utf8proc on random mixed text.
#include <algorithm>
#include <random>
#include <utility>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unicode/reference_clusters.h"
#include "tests/unicode/utf8_text.h"
#include "unicode/cluster_reverse.h"
#include "unicode/letter_stretches.h"

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

// Emoji between short ASCII gaps, the same pictograph bare and with what may follow it, so that
// a run cut off at a step's end looks like another that is whole; now and then a piece of any
// kind between them.
std::string RandomEmojiWords(std::mt19937& random) {
  static const std::vector<std::u32string> kWords = {
      U"\U0001F44D", U"\U0001F44D\U0001F3FD", U"\U0001F1E9\U0001F1EA", U"\U0001F1E9", U"\u2764", U"\u2764\uFE0F",
      U"\U0001F468", U"\U0001F468\u200D\U0001F469", U"\U0001F468\u200D\U0001F469\u200D\U0001F467", U"\U0001F600\u0301"};
  std::uniform_int_distribution<std::size_t> pick(0, kWords.size() - 1);
  std::uniform_int_distribution<int> gap(1, 12);
  std::uniform_int_distribution<int> percent(0, 99);
  std::u32string codePoints;
  while (codePoints.size() < 2000) {
    codePoints += percent(random) < 3 ? kPieces[random() % kPieces.size()] : kWords[pick(random)];
    codePoints.append(static_cast<std::size_t>(gap(random)), U'x');
  }
  return Utf8(codePoints);
}

// Line breaks split clusters on both sides, where UAX #29 would keep CR LF and nothing else.
// A walk over a block remembers the runs of non-ASCII bytes it has met; the same pieces
// again and again, in runs long enough for that, must come out as they do the first time.
TEST(ClusterKernels, AgreeWithUtf8procOnLongRunsThatRepeatThemselves) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 80; ++round) {
    std::string run;
    while (run.size() < 5000) run += (round % 2 == 0 ? RandomRun(random) : RandomEmojiWords(random)) + ' ';
    std::string mirrored = run;
    unicode::MirrorEachCluster(mirrored);
    ASSERT_EQ(mirrored, ReferenceMirrorEachCluster(run)) << ::testing::PrintToString(run);
    std::string reversed(run.size(), '\0');
    unicode::ReverseClusterOrder(run, reversed);
    ASSERT_EQ(reversed, ReferenceReverseClusterOrder(run)) << ::testing::PrintToString(run);
  }
}

// The letter stretches are found and mirrored 32 bytes a step where the processor has AVX2,
// and 16 where not; the two may end a stretch at different steps, but each must end it at a
// cluster boundary and mirror each of its clusters, malformed bytes among the letters included.
TEST(ClusterKernels, LetterStretchesHoldAtBothWidths) {
  using Finder = std::size_t (*)(unicode::LetterKind, std::span<const char>, std::size_t) noexcept;
  using Mirrorer = void (*)(unicode::LetterKind, std::span<char>) noexcept;
  const std::pair<Finder, Mirrorer> widths[] = {{unicode::LetterStretchEnd, unicode::MirrorLetters},
                                                {unicode::detail::LetterStretchEnd16, unicode::detail::MirrorLetters16}};
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> percent(0, 99);
  for (int round = 0; round < 5000; ++round) {
    // Long stretches of ASCII and letters, so that letters meet every place of a step.
    std::u32string codePoints;
    const int otherPercent = percent(random) / 10;
    for (int length = std::uniform_int_distribution<int>(0, 200)(random); length > 0; --length) {
      const int roll = percent(random);
      if (roll < otherPercent)
        codePoints += kPieces[random() % kPieces.size()];
      else if (roll < 50)
        codePoints += static_cast<char32_t>('!' + random() % 94);
      else if (roll < 75)
        codePoints += static_cast<char32_t>(0xC0 + random() % (0x280 - 0xC0));
      else
        codePoints += static_cast<char32_t>(0x4000 + random() % (0xA000 - 0x4000));
    }
    std::string run = Utf8(codePoints);
    const bool malformed = percent(random) < 30 && !run.empty();
    if (malformed) run[random() % run.size()] = static_cast<char>(0x80 + random() % 0x80);
    std::vector<std::size_t> boundaries;
    try {
      boundaries = ReferenceBoundaries(run);
    } catch (const std::invalid_argument&) {
      ASSERT_TRUE(malformed);
    }
    for (std::size_t from = 0; from < run.size(); ++from) {
      const auto kind = unicode::LetterKindOf(static_cast<unsigned char>(run[from]));
      if (!kind || (from > 0 && static_cast<unsigned char>(run[from - 1]) >= 0x80)) continue;
      for (const auto& [find, mirror] : widths) {
        const std::size_t end = find(*kind, run, from);
        if (end == from) continue;
        if (!boundaries.empty()) {
          ASSERT_TRUE(std::binary_search(boundaries.begin(), boundaries.end(), end)) << ::testing::PrintToString(run) << " from " << from;
        }
        std::string mirrored = run.substr(from, end - from);
        mirror(*kind, mirrored);
        ASSERT_EQ(mirrored, ReferenceMirrorEachCluster(run.substr(from, end - from))) << ::testing::PrintToString(run) << " from " << from;
      }
    }
  }
}

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
