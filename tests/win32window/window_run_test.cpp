#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "tests/support/temp_folder.h"
#include "tests/win32window/window_fixture.h"

namespace quillon {
namespace {

using testing::BarRecorder;
using testing::IsIdle;
using testing::MessageCatcher;
using testing::ReadShared;
using testing::ReadWhole;
using testing::ShownWindow;
using testing::TempFolder;

struct ModeCase {
  RevertMode mode;
  std::string output;   // bytes of the output file
  std::wstring shown;   // the result box's characters
};

// "\x80" is the euro sign and "\x81" undefined in Windows-1252.
constexpr std::string_view kInput = "ab\r\nc\x80\n\x81";

TEST(WindowRun, EachModeRunsByClickingAndLeavesTheWindowIdle) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", kInput);
  const ModeCase cases[] = {
      {RevertMode::SimpleRevert, "\x81\n\x80" "c\n\rba", L"\u0081\n\u20ACc\n\nba"},
      {RevertMode::LineKeep, "\x81\r\nc\x80\r\nab\r\n", L"\u0081\nc\u20AC\nab\n"},
      {RevertMode::RevertLine, "ba\r\n\x80" "c\n\x81", L"ba\n\u20ACc\n\u0081"},
  };
  ShownWindow shown;
  shown.Choose(input);
  EXPECT_EQ(testing::TextOf(shown.controls().fileLabel), input);
  const MessageCatcher catcher;
  for (const ModeCase& mode : cases) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode.mode)));
    shown.SelectMode(mode.mode);
    const BarRecorder bar(shown.controls().progressBar);
    shown.ClickRevert();
    ASSERT_TRUE(catcher.messages.empty()) << catcher.messages.front().text;
    EXPECT_EQ(ReadShared(input + "_rev.txt"), mode.output);
    EXPECT_EQ(shown.ResultShown(), mode.shown);
    EXPECT_TRUE(IsIdle(shown));
    EXPECT_EQ(::SendMessageW(shown.controls().ModeOption(mode.mode), BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_FALSE(bar.positions.empty());
    EXPECT_EQ(bar.positions.back(), 0);
  }
  EXPECT_TRUE(catcher.messages.empty());
  EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
}

// Another program (an editor, a viewer) opens the result while the window shows it, as most
// do: without letting others delete the file.
TEST(WindowRun, TheResultShownCanBeOpenedByOtherPrograms) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "ab\ncd");
  ShownWindow shown;
  shown.Choose(input);
  shown.ClickRevert();
  ASSERT_EQ(shown.ResultShown(), L"cd\nab\n");
  EXPECT_EQ(ReadWhole(input + "_rev.txt"), "cd\r\nab\r\n");
}

TEST(WindowRun, UnicodeTextShowsAsItsCharacters) {
  const TempFolder folder;
  ShownWindow shown;
  shown.Choose(folder.Write("in.txt", "caf\xC3\xA9 \xE2\x82\xAC\n"));
  shown.SelectMode(RevertMode::RevertLine);
  shown.ClickRevert();
  EXPECT_EQ(shown.ResultShown(), L"\u20AC \u00E9fac\n");
}

TEST(WindowRun, WithoutAnInputRevertShowsNoInfileInAMessageBox) {
  ShownWindow shown;
  const MessageCatcher catcher;
  shown.ClickRevert();
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text, "no Infile");
  EXPECT_EQ(catcher.messages[0].title, "Quillon");
  EXPECT_TRUE(IsIdle(shown));
}

TEST(WindowRun, AFailedRunShowsItsMessageAndLeavesTheWindowIdle) {
  const TempFolder folder;
  ShownWindow shown;
  shown.Choose(folder.Write("in.txt", "abc"));
  shown.ClickRevert();
  ASSERT_EQ(shown.ResultShown(), L"abc\n");

  const std::string missing = folder.File("missing.txt");
  shown.Choose(missing);
  const MessageCatcher catcher;
  shown.ClickRevert();
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text.rfind("Cannot open \"" + missing + "\"", 0), 0u) << catcher.messages[0].text;
  EXPECT_EQ(catcher.messages[0].title, "Quillon");
  EXPECT_TRUE(IsIdle(shown));
  EXPECT_TRUE(shown.ResultShown().empty()) << "the run cleared the result before it failed";
}

TEST(WindowRun, ARunStartedFromTheKeyboardLeavesTheFocusOnRevert) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "ab");
  ShownWindow shown;
  shown.Choose(input);
  shown.SelectMode(RevertMode::SimpleRevert);
  HWND revert = shown.controls().revertButton;
  ::SetFocus(revert);
  testing::Press(shown.window, VK_SPACE);
  EXPECT_EQ(ReadShared(input + "_rev.txt"), "ba") << "Space ran";
  EXPECT_TRUE(IsIdle(shown));
  EXPECT_EQ(::GetFocus(), revert);

  // Enter presses the focused button too.
  testing::WriteWhole(input, "cd");
  testing::Press(shown.window, VK_RETURN);
  EXPECT_EQ(ReadShared(input + "_rev.txt"), "dc");
  EXPECT_EQ(::GetFocus(), revert);
}

}  // namespace
}  // namespace quillon
