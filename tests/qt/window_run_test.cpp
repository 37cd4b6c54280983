#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/qt/window_fixture.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::IsIdle;
using testing::MessageCatcher;
using testing::ReadWhole;
using testing::ShownWindow;
using testing::TempFolder;

struct ModeCase {
  RevertMode mode;
  std::string output;       // bytes of the output file
  std::u16string shown;     // the result box's characters
};

// "\x80" is the euro sign and "\x81" undefined in Windows-1252.
constexpr std::string_view kInput = "ab\r\nc\x80\n\x81";

TEST(WindowRun, EachModeRunsByClickingAndLeavesTheWindowIdle) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", kInput);
  const ModeCase cases[] = {
      {RevertMode::SimpleRevert, "\x81\n\x80" "c\n\rba", u"\u0081\n\u20ACc\n\nba"},
      {RevertMode::LineKeep, "\x81\r\nc\x80\r\nab\r\n", u"\u0081\nc\u20AC\nab\n"},
      {RevertMode::RevertLine, "ba\r\n\x80" "c\n\x81", u"ba\n\u20ACc\n\u0081"},
  };
  ShownWindow shown;
  shown.Choose(input);
  const MessageCatcher catcher;
  for (const ModeCase& mode : cases) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode.mode)));
    shown.SelectMode(mode.mode);
    shown.ClickRevert();
    EXPECT_EQ(ReadWhole(input + "_rev.txt"), mode.output);
    EXPECT_EQ(shown.ResultShown(), QString::fromStdU16String(mode.shown));
    EXPECT_TRUE(IsIdle(shown));
    EXPECT_TRUE(shown.controls().ModeOption(mode.mode)->isChecked());
  }
  EXPECT_TRUE(catcher.messages.empty());
  EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
  EXPECT_EQ(shown.window.controller().InputPath(), input);
}

// The mode buttons are exclusive for the user; a program can still check two or none, and the
// run then takes the first checked of Simple Revert and Line keep, else Revert Line.
TEST(WindowRun, TheFirstCheckedModeButtonRunsAndWithNoneRevertLineRuns) {
  struct Checked {
    bool simpleRevert;
    bool lineKeep;
    bool revertLine;
    std::string output;
  };
  const Checked cases[] = {
      {true, true, true, "dc\nba"},
      {false, true, true, "cd\r\nab\r\n"},
      {false, false, false, "ba\ndc"},
  };
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "ab\ncd");
  ShownWindow shown;
  shown.Choose(input);
  const auto& controls = shown.controls();
  for (const Checked& checked : cases) {
    SCOPED_TRACE(checked.output);
    for (QRadioButton* option : controls.ModeOptions()) option->setAutoExclusive(false);
    controls.simpleRevertOption->setChecked(checked.simpleRevert);
    controls.lineKeepOption->setChecked(checked.lineKeep);
    controls.revertLineOption->setChecked(checked.revertLine);
    shown.ClickRevert();
    EXPECT_EQ(ReadWhole(input + "_rev.txt"), checked.output);
    EXPECT_TRUE(IsIdle(shown));
  }
}

TEST(WindowRun, ASecondRunReplacesTheResultShown) {
  const TempFolder folder;
  ShownWindow shown;
  shown.Choose(folder.Write("in.txt", "one\ntwo\n"));
  shown.ClickRevert();
  shown.ClickRevert();
  EXPECT_EQ(shown.ResultShown(), "\ntwo\none\n");
  EXPECT_TRUE(IsIdle(shown));
}

TEST(WindowRun, WithoutAnInputRevertShowsNoInfileInAMessageBox) {
  ShownWindow shown;
  const MessageCatcher catcher;
  shown.ClickRevert();
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text, "no Infile");
  EXPECT_EQ(catcher.messages[0].title, "Quillon");
  EXPECT_EQ(catcher.messages[0].buttons, QMessageBox::Ok);
  EXPECT_TRUE(shown.ResultShown().isEmpty());
  EXPECT_TRUE(IsIdle(shown));
}

TEST(WindowRun, AFailedRunShowsItsMessageAndLeavesTheWindowIdle) {
  const TempFolder folder;
  ShownWindow shown;
  shown.Choose(folder.Write("in.txt", "abc"));
  shown.ClickRevert();
  ASSERT_EQ(shown.ResultShown(), "abc\n");

  const std::string missing = folder.File("missing.txt");
  shown.Choose(missing);
  const MessageCatcher catcher;
  shown.ClickRevert();
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text.toStdString(), "Cannot open \"" + missing + "\": No such file or directory");
  EXPECT_EQ(catcher.messages[0].title, "Quillon");
  EXPECT_TRUE(IsIdle(shown));
  EXPECT_TRUE(shown.ResultShown().isEmpty()) << "the run cleared the result before it failed";
  EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
}

TEST(WindowRun, ARunStartedFromTheKeyboardLeavesTheFocusOnRevert) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "ab");
  ShownWindow shown;
  shown.Choose(input);
  shown.SelectMode(RevertMode::SimpleRevert);
  QPushButton* revert = shown.controls().revertButton;
  revert->setFocus();
  ASSERT_EQ(shown.window.focusWidget(), revert);
  QTest::keyClick(revert, Qt::Key_Space);
  EXPECT_EQ(ReadWhole(input + "_rev.txt"), "ba") << "Space ran";
  EXPECT_TRUE(IsIdle(shown));
  EXPECT_EQ(QApplication::focusWidget(), revert);

  // A second Space, to whatever has the focus, runs again.
  testing::WriteWhole(input, "cd");
  QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Space);
  EXPECT_EQ(ReadWhole(input + "_rev.txt"), "dc");
  EXPECT_EQ(QApplication::focusWidget(), revert);
}

}  // namespace
}  // namespace quillon
