#include "fileio/scratch_file.h"

#include <windows.h>

#include <memory>

#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/system_calls.h"
#include "fileio/temporary_names.h"
#include "fileio/wide_text.h"

namespace quillon {

namespace {

constexpr std::size_t kCopyBlock = std::size_t{1} << 20;

// Whether `stream` is a file on a disk whose place is at its start.
bool AtStartOfAFile(HANDLE stream) {
  if (::GetFileType(stream) != FILE_TYPE_DISK) return false;
  LARGE_INTEGER place{};
  return ::SetFilePointerEx(stream, LARGE_INTEGER{}, &place, FILE_CURRENT) && place.QuadPart == 0;
}

}  // namespace

std::string ScratchFolder() {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return ".";
  std::wstring_view path(folder, length);
  if (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
  return Narrow(path);
}

FileHandle OpenScratchFile(const std::string& shownAs) {
  const std::string folder = ScratchFolder();
  FileHandle scratch;
  ClaimTemporaryName(folder, folder, [&](const std::string& candidate) {
    HANDLE handle = ::CreateFileW(SystemPath(candidate).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
    scratch = FileHandle(handle, shownAs);
    return 0;
  });
  return scratch;
}

FileHandle TakeInputStream(NativeHandle stream, const std::string& shownName, const std::function<void()>& beforeRead) {
  if (AtStartOfAFile(stream)) {
    HANDLE own = INVALID_HANDLE_VALUE;
    HANDLE process = ::GetCurrentProcess();
    if (!::DuplicateHandle(process, stream, process, &own, 0, FALSE, DUPLICATE_SAME_ACCESS))
      throw FileError("Cannot read", shownName, SystemReason(LastSystemError()));
    // Taken whole, as a stream read to its end would be: a second taking finds nothing left.
    LARGE_INTEGER end{};
    ::SetFilePointerEx(stream, LARGE_INTEGER{}, &end, FILE_END);
    return FileHandle(own, shownName);
  }
  // A write that fails names the folder that is full; reads name the stream.
  FileHandle copy = OpenScratchFile(ScratchFolder());
  const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyBlock);
  std::int64_t size = 0;
  for (;;) {
    beforeRead();
    const std::int64_t got = SystemStreamRead(stream, buffer.get(), kCopyBlock);
    if (got < 0) throw FileError("Cannot read", shownName, SystemReason(LastSystemError()));
    if (got == 0) break;
    WriteAt(copy, size, {buffer.get(), static_cast<std::size_t>(got)});
    size += got;
  }
  copy.ShowAs(shownName);
  return copy;
}

}  // namespace quillon
