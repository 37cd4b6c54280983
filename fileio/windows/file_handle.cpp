#include "fileio/file_handle.h"

#include <windows.h>

#include "fileio/file_error.h"
#include "fileio/system_calls.h"
#include "fileio/wide_text.h"
#include "fileio/windows/windows_reasons.h"

namespace quillon {

NativeHandle NoHandle() noexcept { return INVALID_HANDLE_VALUE; }

bool SystemClose(NativeHandle native) noexcept { return ::CloseHandle(native) != 0; }

namespace {

// Other programs may go on reading and writing a file opened here, as they may on Linux.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

FileHandle OpenWith(const std::string& path, DWORD access, DWORD disposition) {
  HANDLE handle = ::CreateFileW(SystemPath(path).c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FileHandle::Failed(path, static_cast<int>(::GetLastError()));
  return FileHandle(handle, path);
}

}  // namespace

FileHandle OpenForRead(const std::string& path) {
  const std::wstring systemPath = SystemPath(path);
  const DWORD attributes = ::GetFileAttributesW(systemPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return FileHandle::Failed(path, kIsAFolder);
  FileHandle handle = OpenWith(path, GENERIC_READ, OPEN_EXISTING);
  if (!handle.valid()) return handle;
  // Devices (CON, NUL, COM1) and pipes open like files but are not read at positions.
  if (::GetFileType(handle.native()) != FILE_TYPE_DISK) return FileHandle::Failed(path, "not a regular file");
  return handle;
}

FileHandle OpenForWrite(const std::string& path) { return OpenWith(path, GENERIC_WRITE, OPEN_ALWAYS); }

FileHandle OpenNewForWrite(const std::string& path, std::uint32_t) {
  return OpenWith(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
}

std::int64_t FileSize(const FileHandle& handle) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(handle.native(), &size))
    throw FileError("Cannot read", handle.path(), SystemReason(static_cast<int>(::GetLastError())));
  return size.QuadPart;
}

FileHandle DuplicateHandle(const FileHandle& handle) {
  HANDLE copy = INVALID_HANDLE_VALUE;
  HANDLE process = ::GetCurrentProcess();
  if (!::DuplicateHandle(process, handle.native(), process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return FileHandle::Failed(handle.path(), static_cast<int>(::GetLastError()));
  return {copy, handle.path()};
}

FileIdentity IdentityOf(const FileHandle& handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle.native(), &info))
    throw FileError("Cannot read", handle.path(), SystemReason(static_cast<int>(::GetLastError())));
  return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace quillon
