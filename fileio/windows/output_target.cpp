#include "fileio/output_target.h"

#include <windows.h>

#include <string_view>

#include "fileio/file_error.h"
#include "fileio/wide_text.h"
#include "fileio/windows/windows_reasons.h"

namespace quillon {

namespace {

[[noreturn]] void Fail(const std::string& outputPath, DWORD error) {
  throw FileError("Cannot write", outputPath, SystemReason(static_cast<int>(error)));
}

// Where the open file `handle` really is, with the links on its way resolved; the path as
// given where the system cannot tell (Wine, on paths longer than MAX_PATH).
std::string FinalPath(HANDLE handle, const std::string& outputPath) {
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
  if (length == 0 || length >= path.size()) return outputPath;
  path.resize(length);
  return Narrow(path);
}

}  // namespace

OutputTarget ResolveOutputTarget(const std::string& outputPath) {
  const std::wstring systemPath = SystemPath(outputPath);
  // Only the file's attributes are asked for, so that a file locked by another program, or
  // one this user may not read, is still found here; it fails later, when it is replaced.
  HANDLE handle = ::CreateFileW(systemPath.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return OutputTarget{.Path = outputPath};
    Fail(outputPath, error);
  }
  struct Closer {
    HANDLE handle;
    ~Closer() { ::CloseHandle(handle); }
  } closer{handle};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) Fail(outputPath, ::GetLastError());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) throw FileError("Cannot write", outputPath, kIsAFolder);
  if (::GetFileType(handle) != FILE_TYPE_DISK) throw FileError("Cannot write", outputPath, "not a regular file");
  OutputTarget target{.Path = FinalPath(handle, outputPath), .Exists = true};
  target.PermissionBits = info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  target.Identity = {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
  return target;
}

}  // namespace quillon
