#include <string>
#include <string_view>

#include <gtest/gtest.h>

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

TEST(ByteOrderMark, OnlyTheWholeMarkAtTheStartCounts) {
  EXPECT_TRUE(unicode::StartsWithByteOrderMark(std::string_view("\xEF\xBB\xBF")));
  EXPECT_TRUE(unicode::StartsWithByteOrderMark(std::string_view("\xEF\xBB\xBFtext")));
  EXPECT_FALSE(unicode::StartsWithByteOrderMark(std::string_view("\xEF\xBB")));
  EXPECT_FALSE(unicode::StartsWithByteOrderMark(std::string_view("x\xEF\xBB\xBF")));
  EXPECT_FALSE(unicode::StartsWithByteOrderMark(std::string_view("")));
}

}  // namespace
}  // namespace quillon::testing
