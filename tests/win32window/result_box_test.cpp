#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/temp_folder.h"
#include "tests/win32window/window_fixture.h"

namespace quillon {
namespace {

using testing::ClipboardText;
using testing::HeldKeys;
using testing::ShownWindow;
using testing::TempFolder;

void Key(HWND view, WPARAM key) { ::SendMessageW(view, WM_KEYDOWN, key, 1); }

struct ResultBoxTest : ::testing::Test {
  void Run(std::string_view input, RevertMode mode) {
    shown.Choose(folder.Write("in.txt", input));
    shown.SelectMode(mode);
    shown.ClickRevert();
  }
  ResultView& box() { return shown.window.controls().resultBox; }

  TempFolder folder;
  ShownWindow shown;
};

TEST_F(ResultBoxTest, CopyGivesTheSelectionWithWindowsLineBreaks) {
  Run("one\r\ntwo\nthr\x80\n", RevertMode::LineKeep);
  ASSERT_EQ(shown.ResultShown(), L"\nthr\u20AC\ntwo\none\n");
  box().SetSelection({1, 1}, {2, 2});
  EXPECT_TRUE(box().hasSelection());
  box().Copy();
  EXPECT_EQ(ClipboardText(), L"hr\u20AC\r\ntw");
}

TEST_F(ResultBoxTest, CtrlACtrlCCopiesEverythingAndKeysMoveTheCaret) {
  Run("ab\ncd", RevertMode::RevertLine);
  HWND view = box().hwnd();
  ::SetFocus(view);
  {
    const HeldKeys control({VK_CONTROL});
    Key(view, 'A');
    Key(view, 'C');
  }
  EXPECT_EQ(ClipboardText(), L"ba\r\ndc");

  Key(view, VK_HOME);
  EXPECT_EQ(box().caretPosition(), (TextPosition{1, 0})) << "Select All left the caret at the end";
  Key(view, VK_UP);
  Key(view, VK_RIGHT);
  EXPECT_EQ(box().caretPosition(), (TextPosition{0, 1}));
  EXPECT_FALSE(box().hasSelection());
  {
    const HeldKeys shift({VK_SHIFT});
    Key(view, VK_END);
  }
  EXPECT_EQ(box().Text(box().selectionAnchor(), box().caretPosition()), L"a");
}

TEST_F(ResultBoxTest, AClickPlacesTheCaretAndADragSelects) {
  Run("abcdef\nghijkl\n", RevertMode::LineKeep);
  ASSERT_EQ(shown.ResultShown(), L"\nghijkl\nabcdef\n");
  HWND view = box().hwnd();
  const int cell = box().cellWidth();
  const int line = box().lineHeight();
  // On the right half of a character's cell the place after it is nearer.
  const auto at = [&](int row, int column, bool rightHalf) { return MAKELPARAM(column * cell + (rightHalf ? cell * 3 / 4 : cell / 4), row * line + line / 2); };
  ::SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, at(1, 2, true));
  EXPECT_EQ(::GetFocus(), view);
  EXPECT_EQ(box().caretPosition(), (TextPosition{1, 3}));
  ::SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, at(2, 1, false));
  ::SendMessageW(view, WM_LBUTTONUP, 0, at(2, 1, false));
  EXPECT_EQ(box().selectionAnchor(), (TextPosition{1, 3}));
  EXPECT_EQ(box().caretPosition(), (TextPosition{2, 1}));
  EXPECT_EQ(box().Text(box().selectionAnchor(), box().caretPosition()), L"jkl\na");
}

// The view as painted, read back from the screen.
struct Picture {
  explicit Picture(HWND view) : dc(::GetDC(view)) {}
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture() { ::ReleaseDC(nullptr, dc); }
  // How many pixels of the cell have `colour`.
  [[nodiscard]] int Count(const ResultView& box, int row, int column, COLORREF colour) const {
    int found = 0;
    for (int y = row * box.lineHeight(); y < (row + 1) * box.lineHeight(); ++y)
      for (int x = column * box.cellWidth(); x < (column + 1) * box.cellWidth(); ++x) found += ::GetPixel(dc, x, y) == colour ? 1 : 0;
    return found;
  }
  HDC dc;
};

TEST_F(ResultBoxTest, CharactersArePaintedInTheirCellsAndTheSelectionHighlighted) {
  Run("MM M\n", RevertMode::RevertLine);
  box().SetSelection({0, 3}, {0, 4});
  ::UpdateWindow(box().hwnd());
  const Picture picture(box().hwnd());
  const COLORREF background = ::GetSysColor(COLOR_WINDOW);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const int cellPixels = box().cellWidth() * box().lineHeight();
  EXPECT_LT(picture.Count(box(), 0, 0, background), cellPixels) << "an M in the first cell";
  EXPECT_EQ(picture.Count(box(), 0, 1, background), cellPixels) << "a blank in the second";
  EXPECT_GT(picture.Count(box(), 0, 3, highlight), 0) << "the selected M";
  EXPECT_EQ(picture.Count(box(), 0, 2, highlight), 0);
  EXPECT_EQ(picture.Count(box(), 1, 0, background), cellPixels) << "nothing on the empty last line";
}

}  // namespace
}  // namespace quillon
