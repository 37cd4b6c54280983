#include "window/result_shown_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace quillon {
namespace {

std::u16string Shown(std::string_view bytes) {
  std::u16string out(bytes.size(), u'?');
  out.resize(ShownText({bytes.data(), bytes.size()}, {out.data(), out.size()}));
  return out;
}

TEST(ShownTextTest, EveryBreakBecomesOneLf) {
  EXPECT_EQ(Shown("a\r\nb\nc\rd"), u"a\nb\nc\nd");
  EXPECT_EQ(Shown("\r\r\n\n\r"), u"\n\n\n\n");
  EXPECT_EQ(Shown("\n\r"), u"\n\n");
  EXPECT_EQ(Shown(""), u"");
}

TEST(ShownTextTest, BytesBecomeWindows1252Characters) {
  EXPECT_EQ(Shown("\x80\x81\x9f\xa0\xe9\xff\t"), u"\u20ac\u0081\u0178\u00a0\u00e9\u00ff\t");
  std::u16string small(1, u' ');
  EXPECT_THROW(ShownText({"ab", 2}, {small.data(), small.size()}), std::length_error);
}

TEST(ShownTextTest, PaintedCharactersTakeOneColumnEach) {
  EXPECT_EQ(PaintedCharacter('a'), u'a');
  EXPECT_EQ(PaintedCharacter(0x80), u'\u20ac');
  EXPECT_EQ(PaintedCharacter('\t'), u' ');
  EXPECT_EQ(PaintedCharacter(0x00), u' ');
  EXPECT_EQ(PaintedCharacter(0x7f), u' ');
  EXPECT_EQ(PaintedCharacter(0x81), u' ');
  EXPECT_EQ(PaintedCharacter(0x9d), u' ');
  EXPECT_EQ(PaintedCharacter(0xad), u'-');
  EXPECT_EQ(PaintedCharacter(0xa0), u'\u00a0');
}

}  // namespace
}  // namespace quillon
