#include "resultview/result_shown_text.h"

#include "resultview/cp1252.h"

#include <gtest/gtest.h>

#include <random>
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

TEST(ShownTextTest, LongTextsMatchAByteByByteConversion) {
  std::mt19937 random(5);
  for (const int breakEvery : {3, 40, 1000}) {
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> breakChance(0, breakEvery);
    std::string bytes;
    for (int i = 0; i < 5000; ++i) {
      if (breakChance(random) == 0) {
        bytes += std::string_view("\r\n\r\n").substr(static_cast<std::size_t>(anyByte(random) % 3), 2);
      } else {
        // Mostly plain ASCII, with every other byte now and then.
        const int byte = anyByte(random);
        bytes += static_cast<char>(byte < 230 ? 'a' + byte % 26 : anyByte(random));
      }
    }
    std::u16string expected;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      expected += bytes[i] == '\r' || bytes[i] == '\n' ? u'\n' : Cp1252ToUnicode(static_cast<unsigned char>(bytes[i]));
    }
    EXPECT_EQ(Shown(bytes), expected) << "breaks about every " << breakEvery << " bytes";
  }
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
