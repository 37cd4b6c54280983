#include <windows.h>

#include <string_view>

#include "fileio/file_error.h"
#include "fileio/wide_text.h"

namespace quillon {

std::string SystemReason(int errorNumber) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(errorNumber), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0,
      nullptr);
  if (length == 0 || text == nullptr) return "system error " + std::to_string(static_cast<DWORD>(errorNumber));
  std::wstring_view wide(text, length);
  // The system's texts end with a line break.
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) wide.remove_suffix(1);
  std::string reason = Narrow(wide);
  ::LocalFree(text);
  return reason;
}

int LastSystemError() noexcept { return static_cast<int>(::GetLastError()); }

}  // namespace quillon
