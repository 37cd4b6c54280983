#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "unicode/utf8_decode.h"
#include "unicode/utf8_validator.h"

namespace quillon::testing {
namespace {

using unicode::Utf8Validator;

struct ValidityCase {
  const char* name;
  std::string bytes;
  bool valid;
};

const std::string kAscii70(70, 'x');

class Utf8Validity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(Utf8Validity, WholeAtOnce) { EXPECT_EQ(unicode::IsValidUtf8(GetParam().bytes), GetParam().valid); }

// The same verdict however the bytes are cut: in two at every position, and byte by byte.
TEST_P(Utf8Validity, SplitAnywhere) {
  const std::string& bytes = GetParam().bytes;
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    Utf8Validator validator;
    validator.Feed(std::string_view(bytes).substr(0, cut));
    validator.Feed(std::string_view(bytes).substr(cut));
    EXPECT_EQ(validator.EndsValid(), GetParam().valid) << "cut at " << cut;
  }
  Utf8Validator byteByByte;
  for (const char byte : bytes) byteByByte.Feed(std::span<const char>(&byte, 1));
  EXPECT_EQ(byteByByte.EndsValid(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Validity,
    ::testing::Values(
        ValidityCase{"empty", "", true}, ValidityCase{"ascii", "plain text\tand a tab", true},
        ValidityCase{"two_bytes", "caf\xC3\xA9", true}, ValidityCase{"three_bytes", "\xE6\xBC\xA2\xE5\xAD\x97", true},
        ValidityCase{"four_bytes", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", true},
        ValidityCase{"last_before_surrogates", "\xED\x9F\xBF", true},
        ValidityCase{"first_after_surrogates", "\xEE\x80\x80", true},
        ValidityCase{"highest_code_point", "\xF4\x8F\xBF\xBF", true},
        ValidityCase{"byte_order_mark_first", "\xEF\xBB\xBFtext", true},
        ValidityCase{"long_ascii_then_two_bytes", kAscii70 + "\xC3\xA9" + kAscii70, true},
        ValidityCase{"overlong_two_bytes", "\xC0\x80", false}, ValidityCase{"overlong_c1", "\xC1\xBF", false},
        ValidityCase{"overlong_three_bytes", "\xE0\x9F\xBF", false},
        ValidityCase{"overlong_four_bytes", "\xF0\x8F\xBF\xBF", false},
        ValidityCase{"first_surrogate", "\xED\xA0\x80", false}, ValidityCase{"last_surrogate", "\xED\xBF\xBF", false},
        ValidityCase{"above_10ffff", "\xF4\x90\x80\x80", false}, ValidityCase{"lead_f5", "\xF5\x80\x80\x80", false},
        ValidityCase{"byte_ff", "a\xFF", false}, ValidityCase{"stray_continuation", "a\x80z", false},
        ValidityCase{"continuation_after_long_ascii", kAscii70 + "\x80", false},
        ValidityCase{"lead_then_ascii", "\xC3" "A", false},
        ValidityCase{"three_bytes_cut_by_ascii", "\xE6\xBC" "A", false},
        ValidityCase{"truncated_two_bytes_at_end", "abc\xC3", false},
        ValidityCase{"truncated_three_bytes_at_end", "abc\xE6\xBC", false},
        ValidityCase{"truncated_four_bytes_at_end", kAscii70 + "\xF0\x9F\x98", false},
        ValidityCase{"latin1_text", "Stra\xDF" "e", false}),
    [](const ::testing::TestParamInfo<ValidityCase>& param) { return std::string(param.param.name); });

TEST(Utf8Validator, KnowsAtOnceWhenNoMoreBytesCanHelp) {
  Utf8Validator validator;
  validator.Feed(std::string_view("ok \xE6\xBC"));
  EXPECT_TRUE(validator.StillValid());
  EXPECT_FALSE(validator.EndsValid());
  validator.Feed(std::string_view("\xA2 \xC0"));
  EXPECT_FALSE(validator.StillValid());
  validator.Feed(std::string_view("more ascii"));
  EXPECT_FALSE(validator.EndsValid());
}

// Whether a walk with the decoder, a code point at a time, meets no malformed byte.
bool DecoderWalkFindsUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const unicode::DecodedCodePoint decoded = unicode::DecodeUtf8(bytes, at);
    if (decoded.length == 1 && decoded.codePoint == unicode::kReplacementCharacter) return false;
    at += decoded.length;
  }
  return true;
}

// Long texts take the vector check: well-formed ones of every sequence length and edge,
// then each with one byte changed at random, which often breaks a sequence near a vector's
// edge. Whole, in chunks of every size up to 100, and against the decoder's walk.
TEST(Utf8Validity, LongTextsAgreeWithTheDecoderWalk) {
  static const std::string kSequences[] = {"a", "\t", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                                           "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\xE6\xBC\xA2", "\xC3\xA9"};
  static const char kChanges[] = {'\x80', '\xBF', '\xC0', '\xC2', '\xE0', '\xED', '\xF0', '\xF4', '\xF5', '\xFF', 'a', '\x9F', '\xA0', '\x8F', '\x90'};
  std::mt19937 random(3);
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    const auto length = 32 + random() % 300;
    const bool mostlyAscii = random() % 3 == 0;
    while (text.size() < length)
      text += kSequences[mostlyAscii && random() % 4 != 0 ? 0 : random() % std::size(kSequences)];
    if (round % 4 != 0) text[random() % text.size()] = kChanges[random() % std::size(kChanges)];
    if (round % 7 == 0) text.resize(text.size() - 1 - random() % 3);  // perhaps cut a sequence short
    const bool expected = DecoderWalkFindsUtf8(text);
    SCOPED_TRACE(round);
    ASSERT_EQ(unicode::IsValidUtf8(text), expected);
    const std::size_t chunk = 1 + random() % 100;
    Utf8Validator chunked;
    for (std::size_t at = 0; at < text.size(); at += chunk) chunked.Feed(std::string_view(text).substr(at, chunk));
    ASSERT_EQ(chunked.EndsValid(), expected) << "chunks of " << chunk;
  }
}

TEST(ByteOrderMark, OnlyTheWholeMarkAtTheStartCounts) {
  EXPECT_TRUE(unicode::StartsWithByteOrderMark(std::string_view("\xEF\xBB\xBF")));
  EXPECT_TRUE(unicode::StartsWithByteOrderMark(std::string_view("\xEF\xBB\xBFtext")));
  EXPECT_FALSE(unicode::StartsWithByteOrderMark(std::string_view("\xEF\xBB")));
  EXPECT_FALSE(unicode::StartsWithByteOrderMark(std::string_view("x\xEF\xBB\xBF")));
  EXPECT_FALSE(unicode::StartsWithByteOrderMark(std::string_view("")));
}

}  // namespace
}  // namespace quillon::testing
