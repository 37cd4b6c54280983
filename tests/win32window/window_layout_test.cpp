#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "fileio/wide_text.h"
#include "tests/win32window/window_fixture.h"
#include "win32window/dpi_scale.h"
#include "window/layout.h"

namespace quillon {
namespace {

using testing::PlaceOf;
using testing::ShownWindow;
using testing::TextOf;

std::wstring ClassOf(HWND window) {
  wchar_t name[64]{};
  ::GetClassNameW(window, name, 64);
  return name;
}

bool operator==(const RECT& a, const RECT& b) { return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom; }

TEST(WindowLayout, TheControlsSitAtTheLayoutsPlacesWithItsTexts) {
  ShownWindow shown;
  HWND window = shown.window.hwnd();
  const UINT dpi = ::GetDpiForWindow(window);
  EXPECT_EQ(TextOf(window), kWindowCaption);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, Scaled(kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scaled(kClientHeight, dpi));
  const auto style = ::GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the window has a fixed size";

  for (const ControlLayout& layout : kControls) {
    SCOPED_TRACE(std::string(layout.Name));
    HWND control = shown.controls().Named(layout.Name);
    EXPECT_EQ(::GetParent(control), window);
    EXPECT_TRUE(PlaceOf(control) == ScaledRect(layout.Rect, dpi));
    if (layout.Kind != ControlKind::ResultBox) {
      EXPECT_EQ(TextOf(control), layout.Text);
    }
  }
  EXPECT_EQ(ClassOf(shown.controls().progressBar), L"msctls_progress32");
  EXPECT_EQ(ClassOf(shown.controls().revertButton), L"Button");
  EXPECT_EQ(ClassOf(shown.controls().fileLabel), L"Static");
  for (HWND option : shown.controls().ModeOptions())
    EXPECT_EQ(::GetWindowLongPtrW(option, GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
  EXPECT_EQ(::SendMessageW(shown.controls().ModeOption(kInitialMode), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageW(shown.controls().progressBar, PBM_GETRANGE, FALSE, 0), 100);
}

TEST(WindowLayout, EachModeButtonHasItsTip) {
  ShownWindow shown;
  for (const ControlLayout& layout : kControls) {
    if (layout.Kind != ControlKind::ModeOption) continue;
    SCOPED_TRACE(std::string(layout.Name));
    wchar_t tip[256]{};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = shown.window.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(shown.controls().Named(layout.Name));
    tool.lpszText = tip;
    ::SendMessageW(shown.controls().ToolTips(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Narrow(tip), layout.ToolTip);
  }
}

// Tab from "..." through Revert and the result box into the mode group at its checked button,
// and round again; the result box lies over the progress bar.
TEST(WindowLayout, TabFollowsTheLayoutsOrderAndEntersTheModesAtTheCheckedOne) {
  ShownWindow shown;
  const WindowControls& controls = shown.controls();
  HWND window = shown.window.hwnd();
  EXPECT_EQ(::GetFocus(), controls.chooseFileButton);
  const auto tabOrder = [&] {
    std::vector<HWND> order{controls.chooseFileButton};
    for (int i = 0; i < 4; ++i) order.push_back(::GetNextDlgTabItem(window, order.back(), FALSE));
    return order;
  };
  const std::vector<HWND> expected{controls.chooseFileButton, controls.revertButton, controls.resultBox.hwnd(), controls.lineKeepOption,
                                   controls.chooseFileButton};
  EXPECT_EQ(tabOrder(), expected);

  shown.SelectMode(RevertMode::RevertLine);
  EXPECT_EQ(tabOrder()[3], controls.revertLineOption);
  bool barBelowBox = false;
  for (HWND below = controls.resultBox.hwnd(); below != nullptr; below = ::GetWindow(below, GW_HWNDNEXT))
    barBelowBox = barBelowBox || below == controls.progressBar;
  EXPECT_TRUE(barBelowBox);
}

TEST(WindowLayout, TabArrowsAndEnterMoveAndActAsInADialog) {
  ShownWindow shown;
  const WindowControls& controls = shown.controls();
  testing::Press(shown.window, VK_TAB);
  EXPECT_EQ(::GetFocus(), controls.revertButton);
  testing::Press(shown.window, VK_TAB);
  EXPECT_EQ(::GetFocus(), controls.resultBox.hwnd());
  testing::Press(shown.window, VK_TAB);
  EXPECT_EQ(::GetFocus(), controls.lineKeepOption);
  testing::Press(shown.window, VK_DOWN);
  EXPECT_EQ(::GetFocus(), controls.revertLineOption);
  EXPECT_EQ(shown.window.surface().SelectedMode(), RevertMode::RevertLine) << "the arrow checked the button it moved to";
  {
    const testing::HeldKeys shift({VK_SHIFT});
    testing::Press(shown.window, VK_TAB);
  }
  EXPECT_EQ(::GetFocus(), controls.resultBox.hwnd());
  // Enter on anything but a button does nothing.
  const testing::MessageCatcher catcher;
  testing::Press(shown.window, VK_RETURN);
  EXPECT_TRUE(catcher.messages.empty());
  ::SetFocus(controls.revertButton);
  testing::Press(shown.window, VK_RETURN);
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text, "no Infile");
}

// Moved to a monitor of another resolution, the window and its controls take its scale.
TEST(WindowLayout, AChangeOfResolutionScalesTheLayout) {
  ShownWindow shown;
  HWND window = shown.window.hwnd();
  constexpr UINT kDpi = 144;
  RECT suggested{};
  ::GetWindowRect(window, &suggested);
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(kDpi, kDpi), reinterpret_cast<LPARAM>(&suggested));
  // The frame as the system draws it at that resolution, around the scaled layout. (Only the
  // message is sent here: the frame the system really draws stays at the old resolution.)
  RECT frame{0, 0, Scaled(kClientWidth, kDpi), Scaled(kClientHeight, kDpi)};
  ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)), kDpi);
  RECT outer{};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, frame.right - frame.left);
  EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top);
  for (const ControlLayout& layout : kControls) {
    SCOPED_TRACE(std::string(layout.Name));
    EXPECT_TRUE(PlaceOf(shown.controls().Named(layout.Name)) == ScaledRect(layout.Rect, kDpi));
  }
}

}  // namespace
}  // namespace quillon
