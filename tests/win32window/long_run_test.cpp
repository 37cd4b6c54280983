#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tests/support/temp_folder.h"
#include "tests/win32window/window_fixture.h"

namespace quillon {
namespace {

using testing::BarRecorder;
using testing::IsIdle;
using testing::MessageCatcher;
using testing::ShownWindow;
using testing::TempFolder;
using testing::WhenReady;

// Writes about `megabytes` MB of numbered lines of 80 characters to `path`.
void WriteBigText(const std::string& path, int megabytes) {
  std::ofstream out(path, std::ios::binary);
  std::string block;
  int number = 0;
  for (int i = 0; i < megabytes; ++i) {
    block.clear();
    while (block.size() < (std::size_t{1} << 20)) {
      std::string line = std::to_string(number++) + " ";
      line.resize(79, static_cast<char>('a' + number % 26));
      block += line + '\n';
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

TEST(LongRun, TheBarMovesWhileTheWindowKeepsDispatchingAndTheBoxShowsTheFirstLinesAtOnce) {
  const TempFolder folder;
  const std::string input = folder.File("big.txt");
  WriteBigText(input, 32);
  ShownWindow shown;
  shown.Choose(input);
  shown.SelectMode(RevertMode::RevertLine);
  const BarRecorder bar(shown.controls().progressBar);
  shown.ClickRevert();

  ASSERT_GE(bar.positions.size(), 4u) << "the message loop did not run during the run";
  EXPECT_TRUE(std::any_of(bar.positions.begin(), bar.positions.end(), [](int v) { return v > 0 && v < 100; }))
      << "the bar never showed the run's progress";
  // The engine's last report comes within its last step of a thousandth, before the last block.
  EXPECT_GE(bar.positions[bar.positions.size() - 2], 99) << "the bar got to the end before the window went idle";
  EXPECT_EQ(bar.positions.back(), 0);
  EXPECT_EQ(std::filesystem::file_size(input + "_rev.txt"), std::filesystem::file_size(input));
  EXPECT_TRUE(IsIdle(shown));

  ResultView& box = shown.window.controls().resultBox;
  // Every line of the input is 80 bytes with its LF; the result ends with one.
  EXPECT_EQ(box.lineCount(), std::filesystem::file_size(input) / 80 + 1);
  EXPECT_EQ(box.Text({0, 0}, {2, 0}), std::wstring(77, L'b') + L" 0\n" + std::wstring(77, L'c') + L" 1\n");
  // The bar's end shows the last lines.
  ::SendMessageW(box.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(box.firstVisibleLine(), box.lineCount() - box.visibleRows());
  const std::uint64_t last = box.lineCount() - 2;
  std::wstring number = std::to_wstring(last);
  std::reverse(number.begin(), number.end());
  const std::wstring lastLine = box.Text({last, 0}, {last + 1, 0});
  EXPECT_EQ(lastLine.size(), 80u);
  EXPECT_EQ(lastLine.substr(lastLine.size() - number.size() - 2), L" " + number + L"\n");
  // Only the sparse index and a few cached blocks are kept, not the 32 MB.
  EXPECT_LT(shown.window.result().MemoryBytes(), std::size_t{4} << 20);
}

TEST(LongRun, ClosingStopsTheRunKeepsTheEarlierOutputAndClosesTheWindow) {
  const TempFolder folder;
  const std::string input = folder.File("big.txt");
  WriteBigText(input, 64);
  testing::WriteWhole(input + "_rev.txt", "earlier output");
  ShownWindow shown;
  shown.Choose(input);
  HWND revert = shown.controls().revertButton;
  HWND window = shown.window.hwnd();

  bool waitPointerDuringRun = false;
  const MessageCatcher catcher;
  const WhenReady whileRunning([&] { return !::IsWindowEnabled(revert); },
                               [&] {
                                 waitPointerDuringRun = shown.window.surface().Busy() && ::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT);
                                 // As the close box does.
                                 ::PostMessageW(window, WM_CLOSE, 0, 0);
                               });
  shown.ClickRevert();

  EXPECT_TRUE(whileRunning.done());
  EXPECT_TRUE(waitPointerDuringRun);
  EXPECT_EQ(shown.window.hwnd(), nullptr) << "the window closed once the run had stopped";
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(testing::ReadShared(input + "_rev.txt"), "earlier output");
  EXPECT_TRUE(catcher.messages.empty());
  EXPECT_EQ(folder.Listing(), "big.txt big.txt_rev.txt");
}

TEST(LongRun, InputDuringARunIsRefused) {
  const TempFolder folder;
  const std::string input = folder.File("big.txt");
  WriteBigText(input, 16);
  ShownWindow shown;
  shown.Choose(input);
  int clicksSeen = 0;
  const auto click = [&] {
    HWND choose = shown.controls().chooseFileButton;
    ::PostMessageW(choose, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(choose, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  };
  const WhenReady whileRunning([&] { return !::IsWindowEnabled(shown.controls().revertButton); },
                               [&] {
                                 // A click on "..." queued during the run never reaches it, nor is a drop taken.
                                 click();
                                 ::PostMessageW(shown.window.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(testing::MakeDrop({L"C:\\other.txt"})), 0);
                                 clicksSeen = static_cast<int>(shown.chooser.lastChoicesSeen.size());
                               });
  shown.ClickRevert();
  testing::PumpMessages();
  EXPECT_TRUE(whileRunning.done());
  EXPECT_EQ(shown.chooser.lastChoicesSeen.size(), static_cast<std::size_t>(clicksSeen)) << "the chooser was not opened again";
  EXPECT_EQ(shown.window.controller().InputPath(), input);
  EXPECT_TRUE(IsIdle(shown));
  // The same click once the run is over opens the chooser.
  click();
  testing::PumpMessages();
  EXPECT_EQ(shown.chooser.lastChoicesSeen.size(), static_cast<std::size_t>(clicksSeen) + 1);
}

}  // namespace
}  // namespace quillon
