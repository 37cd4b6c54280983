#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "fileio/wide_text.h"
#include "tests/support/temp_folder.h"
#include "tests/win32window/window_fixture.h"
#include "win32window/dialog_filter.h"
#include "window/file_chooser.h"

namespace quillon {
namespace {

using testing::MakeDrop;
using testing::ShownWindow;
using testing::TempFolder;
using testing::TextOf;

using namespace std::string_literals;

TEST(FileChoice, TheOpenDialogGetsBothFiltersOfTheChooser) {
  EXPECT_EQ(DialogFilter(kChooserFilter), L"Textfiles (txt)\0*.txt\0All Files\0*.*\0\0"s);
  EXPECT_THROW((void)DialogFilter("Textfiles"), std::invalid_argument);
}

TEST(FileChoice, AChoiceIsShownBesideTheButtonAndACancelKeepsIt) {
  ShownWindow shown;
  const std::string path = "C:\\texte\\gr\xC3\xBC\xC3\x9F" "e.txt";
  shown.Choose(path);
  EXPECT_EQ(shown.window.controller().InputPath(), path);
  EXPECT_EQ(shown.window.controller().OutputPath(), path + "_rev.txt");
  EXPECT_EQ(TextOf(shown.controls().fileLabel), path);
  EXPECT_EQ(shown.chooser.filterSeen, kChooserFilter);

  shown.Choose(std::nullopt);
  EXPECT_EQ(shown.chooser.lastChoicesSeen.back(), path) << "the chooser opens at the last choice";
  EXPECT_EQ(shown.window.controller().InputPath(), path);
  EXPECT_EQ(TextOf(shown.controls().fileLabel), path);
}

TEST(FileChoice, TheFirstDroppedFileThatIsNoFolderIsTaken) {
  const TempFolder folder;
  const std::string file = folder.Write("\xC3\xA9t\xC3\xA9.txt", "x");
  ShownWindow shown;
  const std::wstring folderName = std::filesystem::path(Widen(folder.path())).wstring();
  ::SendMessageW(shown.window.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folderName, Widen(file)})), 0);
  EXPECT_EQ(std::filesystem::path(Widen(shown.window.controller().InputPath())), std::filesystem::path(Widen(file)));
  EXPECT_EQ(shown.window.controller().OutputPath(), shown.window.controller().InputPath() + "_rev.txt");

  // Only folders: nothing is taken.
  ::SendMessageW(shown.window.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folderName})), 0);
  EXPECT_EQ(std::filesystem::path(Widen(shown.window.controller().InputPath())), std::filesystem::path(Widen(file)));
}

}  // namespace
}  // namespace quillon
