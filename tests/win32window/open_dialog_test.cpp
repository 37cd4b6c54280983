#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fileio/wide_text.h"
#include "tests/support/temp_folder.h"
#include "tests/win32window/window_fixture.h"
#include "win32window/win32_file_chooser.h"
#include "window/file_chooser.h"

namespace quillon {
namespace {

using testing::TempFolder;
using testing::TextOf;
using testing::WhenReady;

// The Open dialog the thread shows, if any.
HWND FindOpenDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM result) {
        wchar_t className[16]{};
        ::GetClassNameW(window, className, 16);
        if (std::wstring_view(className) == L"#32770" && ::IsWindowVisible(window) && ::GetDlgItem(window, cmb1) != nullptr) {
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<std::string> FilterEntries(HWND dialog) {
  HWND filters = ::GetDlgItem(dialog, cmb1);
  std::vector<std::string> entries;
  const auto count = ::SendMessageW(filters, CB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    std::wstring entry(static_cast<std::size_t>(::SendMessageW(filters, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(::SendMessageW(filters, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()))));
    entries.push_back(Narrow(entry));
  }
  return entries;
}

TEST(OpenDialog, OffersBothFiltersOpensAtTheLastChoiceAndGivesTheTypedName) {
  const TempFolder folder;
  const std::string last = folder.Write("last.txt", "x");
  const std::string typed = folder.Write("gew\xC3\xA4hlt.txt", "y");
  testing::ShownWindow shown;
  Win32FileChooser chooser(shown.window.hwnd());
  std::vector<std::string> filters;
  std::string nameShown;
  const WhenReady dialogOpen([] { return FindOpenDialog() != nullptr; },
                             [&] {
                               HWND dialog = FindOpenDialog();
                               filters = FilterEntries(dialog);
                               nameShown = TextOf(::GetDlgItem(dialog, cmb13));
                               ::SetWindowTextW(::GetDlgItem(dialog, cmb13), std::filesystem::path(Widen(typed)).make_preferred().c_str());
                               ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                             });
  const std::optional<std::string> chosen = chooser.ShowOpen(kChooserFilter, last);
  EXPECT_TRUE(dialogOpen.done());
  EXPECT_EQ(filters, (std::vector<std::string>{"Textfiles (txt)", "All Files"}));
  EXPECT_NE(nameShown.find("last.txt"), std::string::npos) << nameShown;
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(std::filesystem::path(Widen(*chosen)), std::filesystem::path(Widen(typed)));
}

TEST(OpenDialog, ACancelChoosesNothing) {
  testing::ShownWindow shown;
  Win32FileChooser chooser(shown.window.hwnd());
  const WhenReady dialogOpen([] { return FindOpenDialog() != nullptr; }, [] { ::PostMessageW(FindOpenDialog(), WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(chooser.ShowOpen(kChooserFilter, ""), std::nullopt);
  EXPECT_TRUE(dialogOpen.done());
}

}  // namespace
}  // namespace quillon
