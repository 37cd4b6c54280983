#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>
#include <cstring>
#include <string>

#include "qtwindow/result_box.h"
#include "tests/qt/window_fixture.h"
#include "window/result_text.h"

namespace quillon {
namespace {

using testing::ShownText;

// A result text and its box, shown.
struct Box {
  Box() {
    box.resize(400, 200);
    box.show();
  }
  // Makes `bytes` the whole published text (the text must have been reset with room for it).
  void Publish(std::string_view bytes) {
    std::memcpy(text.Room().data(), bytes.data(), bytes.size());
    text.Publish(bytes.size());
  }
  void Show(std::string_view bytes) {
    text.Reset(bytes.size());
    Publish(bytes);
    box.refresh();
  }

  ResultText text;
  ResultBox box{text, nullptr};
};

TEST(ResultBox, ShowsEachByteAsOneWindows1252Character) {
  std::string bytes;
  for (int b = 0x20; b <= 0xFF; ++b) bytes += static_cast<char>(b);
  Box shown;
  shown.Show(bytes);
  const QString text = ShownText(shown.box);
  ASSERT_EQ(text.size(), 0x100 - 0x20);
  EXPECT_EQ(text[0x41 - 0x20], u'A');
  EXPECT_EQ(text[0x80 - 0x20], QChar(0x20AC));
  EXPECT_EQ(text[0x8A - 0x20], QChar(0x0160));
  EXPECT_EQ(text[0x99 - 0x20], QChar(0x2122));
  EXPECT_EQ(text[0x9F - 0x20], QChar(0x0178));
  for (const int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text[undefined - 0x20], QChar(undefined));
  EXPECT_EQ(text[0xA0 - 0x20], QChar(0xA0));
  EXPECT_EQ(text[0xE9 - 0x20], QChar(0xE9));
  EXPECT_EQ(text[0xFF - 0x20], QChar(0xFF));
}

TEST(ResultBox, BreaksLinesAtCrLfLfAndALoneCr) {
  Box shown;
  shown.Show("a\r\nb\nc\rd\r\r\n\n\re");
  EXPECT_EQ(ShownText(shown.box), "a\nb\nc\nd\n\n\n\ne");
  EXPECT_EQ(shown.box.blockCount(), 8);
}

TEST(ResultBox, PicksUpGrowthAndStartsAfreshOnANewText) {
  Box shown;
  shown.text.Reset(64);
  shown.Publish("ab\r");
  shown.box.refresh();
  EXPECT_EQ(ShownText(shown.box), "ab\n");
  shown.box.refresh();
  EXPECT_EQ(ShownText(shown.box), "ab\n") << "nothing new, nothing added";
  // The LF completing the CR LF split between two refreshes makes no second break.
  shown.Publish("ab\r\ncd");
  shown.box.refresh();
  EXPECT_EQ(ShownText(shown.box), "ab\ncd");

  shown.text.Reset(8);
  shown.Publish("\nxy");
  shown.box.refresh();
  EXPECT_EQ(ShownText(shown.box), "\nxy") << "a new text replaces the old one, with no pending CR";
  shown.text.Reset();
  shown.box.refresh();
  EXPECT_TRUE(ShownText(shown.box).isEmpty());
}

TEST(ResultBox, ShowsALargeGainInPiecesAndCatchesUpFromTheEventLoop) {
  std::string bytes;
  const std::string line = std::string(62, 'x') + "\r\n";
  while (bytes.size() < (std::size_t{5} << 18)) bytes += line;  // 1.25 MiB, more than one refresh shows
  Box shown;
  shown.Show(bytes);
  const auto lines = static_cast<int>(bytes.size() / line.size()) + 1;
  EXPECT_LT(shown.box.blockCount(), lines) << "all of it was shown at once";
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown.box.blockCount() == lines; }, 10000));
  EXPECT_EQ(ShownText(shown.box).size(), static_cast<qsizetype>(bytes.size() / line.size() * (line.size() - 1)));
}

TEST(ResultBox, IsReadOnlyButCopiesExactlyWhatItShows) {
  Box shown;
  shown.Show("a\xA0" "b\r\nc\x80");
  shown.box.setFocus();
  QTest::keyClicks(&shown.box, "typed");
  QTest::keyClick(&shown.box, Qt::Key_Backspace);
  QTest::keyClick(&shown.box, Qt::Key_Return);
  EXPECT_EQ(ShownText(shown.box), QString::fromStdU16String(u"a\u00A0b\nc\u20AC"));
  EXPECT_TRUE(shown.box.isReadOnly());

  QApplication::clipboard()->clear();
  shown.box.selectAll();
  shown.box.copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdU16String(u"a\u00A0b\nc\u20AC"));
  QApplication::clipboard()->clear();
  shown.box.moveCursor(QTextCursor::Start);
  QTest::keyClick(&shown.box, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClick(&shown.box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdU16String(u"a\u00A0b")) << "selected and copied by keyboard";
}

TEST(ResultBox, NeverWrapsHasBothScrollBarsAndAFixedPitchFont) {
  Box shown;
  shown.Show(std::string(2000, 'w'));
  EXPECT_EQ(shown.box.lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(shown.box.blockCount(), 1);
  EXPECT_EQ(shown.box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(shown.box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_GT(shown.box.horizontalScrollBar()->maximum(), 0) << "the long line scrolls";
  EXPECT_TRUE(QFontInfo(shown.box.font()).fixedPitch());
}

}  // namespace
}  // namespace quillon
