#include "win32window/dropped_file.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "fileio/wide_text.h"

namespace quillon {
namespace {

class DropScope {
 public:
  explicit DropScope(HDROP drop) noexcept : drop_(drop) {}
  DropScope(const DropScope&) = delete;
  DropScope& operator=(const DropScope&) = delete;
  ~DropScope() { ::DragFinish(drop_); }

 private:
  HDROP drop_;
};

}  // namespace

std::optional<std::string> TakeDroppedFile(HDROP drop) {
  const DropScope scope(drop);
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(drop, index, path.data(), length + 1));
    std::error_code error;
    if (path.empty() || std::filesystem::is_directory(std::filesystem::path(path), error)) continue;
    return Narrow(path);
  }
  return std::nullopt;
}

}  // namespace quillon
