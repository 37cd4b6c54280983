#include <string>
#include <string_view>

#include <gtest/gtest.h>
#include <utf8proc.h>

#include "tests/unicode/utf8_text.h"
#include "unicode/display_width.h"
#include "unicode/utf8_decode.h"

namespace quillon::testing {
namespace {

struct WidthCase {
  const char* name;
  std::u32string cluster;
  int cells;
};

class ClusterWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ClusterWidth, CountsCells) { EXPECT_EQ(unicode::ClusterCellWidth(Utf8(GetParam().cluster)), GetParam().cells); }

INSTANTIATE_TEST_SUITE_P(
    Clusters, ClusterWidth,
    ::testing::Values(WidthCase{"nothing", U"", 0}, WidthCase{"ascii_letter", U"a", 1},
                      WidthCase{"e_with_combining_acute", U"e\u0301", 1}, WidthCase{"han", U"\u6F22", 2},
                      WidthCase{"fullwidth_a", U"\uFF21", 2},
                      WidthCase{"thumbs_up_medium_skin", U"\U0001F44D\U0001F3FD", 2},
                      WidthCase{"flag_de", U"\U0001F1E9\U0001F1EA", 2}, WidthCase{"lone_regional_indicator", U"\U0001F1E9", 1},
                      WidthCase{"heart_with_fe0f", U"\u2764\uFE0F", 2}, WidthCase{"heart_text_style", U"\u2764", 1},
                      WidthCase{"lone_combining_acute", U"\u0301", 1},
                      WidthCase{"lone_wide_combining_kana_mark", U"\u3099", 1}, WidthCase{"hangul_jamo_syllable", U"\u1100\u1161", 2}),
    [](const ::testing::TestParamInfo<WidthCase>& param) { return std::string(param.param.name); });

TEST(WordCharacters, LettersNumbersAndMarksOfEveryScript) {
  for (const char32_t wordCharacter : std::u32string(U"aZ7\u00E9\u00DF\u0434\u6F22\u0663\u0301\u0903\u00B2\u2160"))
    EXPECT_TRUE(unicode::IsWordCharacter(wordCharacter)) << std::hex << static_cast<unsigned>(wordCharacter);
  for (const char32_t other : std::u32string(U" -._,\t\u00A0\u200D\u3002\U0001F600\uFFFD"))
    EXPECT_FALSE(unicode::IsWordCharacter(other)) << std::hex << static_cast<unsigned>(other);
  EXPECT_FALSE(unicode::IsWordCharacter(0x110000));
}

// Every assigned code point against utf8proc's General_Category, which is also Unicode 15.0's:
// this walks every block of the generated table, shared or not.
TEST(WordCharacters, MatchTheGeneralCategoryOfEveryAssignedCodePoint) {
  int words = 0;
  for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
    const utf8proc_category_t category = utf8proc_category(static_cast<utf8proc_int32_t>(codePoint));
    if (category == UTF8PROC_CATEGORY_CN) continue;
    const bool word = category <= UTF8PROC_CATEGORY_NO;  // Lu Ll Lt Lm Lo Mn Mc Me Nd Nl No
    ASSERT_EQ(unicode::IsWordCharacter(codePoint), word) << std::hex << static_cast<unsigned>(codePoint);
    words += word ? 1 : 0;
  }
  EXPECT_GT(words, 130000);
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::size_t offset;
  char32_t codePoint;
  std::size_t length;
};

class Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, GivesTheCodePointOrOneReplacement) {
  const unicode::DecodedCodePoint decoded = unicode::DecodeUtf8(GetParam().bytes, GetParam().offset);
  EXPECT_EQ(decoded.codePoint, GetParam().codePoint);
  EXPECT_EQ(decoded.length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Decoding,
    ::testing::Values(DecodeCase{"ascii", "ab", 1, U'b', 1}, DecodeCase{"two_bytes", "x\xC3\xA9", 1, 0xE9, 2},
                      DecodeCase{"three_bytes", "\xE6\xBC\xA2", 0, 0x6F22, 3},
                      DecodeCase{"four_bytes", "\xF0\x9F\x91\x8D", 0, 0x1F44D, 4},
                      DecodeCase{"highest", "\xF4\x8F\xBF\xBF", 0, 0x10FFFF, 4},
                      DecodeCase{"continuation_alone", "\xC3\xA9", 1, 0xFFFD, 1},
                      DecodeCase{"overlong", "\xC0\xAF", 0, 0xFFFD, 1}, DecodeCase{"surrogate", "\xED\xA0\x80", 0, 0xFFFD, 1},
                      DecodeCase{"above_10ffff", "\xF4\x90\x80\x80", 0, 0xFFFD, 1},
                      DecodeCase{"cut_short", "\xE6\xBC", 0, 0xFFFD, 1}, DecodeCase{"cut_by_ascii", "\xE6\xBC" "a", 0, 0xFFFD, 1},
                      DecodeCase{"at_the_end", "ab", 2, 0xFFFD, 0}),
    [](const ::testing::TestParamInfo<DecodeCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace quillon::testing
