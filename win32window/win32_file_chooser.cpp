#include "win32window/win32_file_chooser.h"

#include <commdlg.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "fileio/wide_text.h"
#include "win32window/dialog_filter.h"

namespace quillon {
namespace {

// The longest path the system's file calls take.
constexpr std::size_t kPathUnits = 32768;

}  // namespace

std::optional<std::string> Win32FileChooser::ShowOpen(std::string_view filter, std::string_view lastChoice) {
  const std::wstring filters = DialogFilter(filter);
  std::vector<wchar_t> file(kPathUnits, L'\0');
  // The dialog takes a '/' for part of a name, not for a folder's end.
  std::wstring last = Widen(lastChoice);
  std::replace(last.begin(), last.end(), L'/', L'\\');
  std::copy_n(last.begin(), std::min(last.size(), file.size() - 1), file.begin());
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // A typed name need not exist yet: the run tells what is wrong with it.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING | OFN_DONTADDTORECENT;
  if (!::GetOpenFileNameW(&dialog)) {
    const DWORD error = ::CommDlgExtendedError();
    if (error != 0) throw std::runtime_error("the Open dialog failed with error " + std::to_string(error));
    return std::nullopt;
  }
  if (file.front() == L'\0') return std::nullopt;
  return Narrow(file.data());
}

}  // namespace quillon
