#include "fileio/replacement_file.h"

#include <windows.h>

#include <utility>

#include "fileio/file_error.h"
#include "fileio/temporary_names.h"
#include "fileio/wide_text.h"

namespace quillon {

bool NameTaken(int errorNumber) noexcept { return errorNumber == ERROR_FILE_EXISTS || errorNumber == ERROR_ALREADY_EXISTS; }

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Marks the open file to go when its last handle is closed, also when the process is killed,
// or takes that back.
bool DeleteOnClose(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleted ? TRUE : FALSE;
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

[[noreturn]] void Fail(const std::string& shownPath, DWORD error) {
  throw FileError("Cannot write", shownPath, SystemReason(static_cast<int>(error)));
}

}  // namespace

ReplacementFile::ReplacementFile(OutputTarget target, std::string shownPath)
    : target_(std::move(target)), shownPath_(std::move(shownPath)), folder_(FolderOf(target_.Path)) {
  temporaryPath_ = ClaimTemporaryName(folder_, shownPath_, [&](const std::string& candidate) {
    HANDLE handle = ::CreateFileW(SystemPath(candidate).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
    file_ = FileHandle(handle, candidate);
    return 0;
  });
  file_.ShowAs(shownPath_);
  // A handle of its own, without the right to delete, which would keep other programs from
  // opening the output for as long as the result is shown.
  HANDLE reader = ::ReOpenFile(file_.native(), GENERIC_READ, kShareAll, 0);
  reader_ = reader == INVALID_HANDLE_VALUE ? FileHandle::Failed(shownPath_, static_cast<int>(::GetLastError()))
                                           : FileHandle(reader, shownPath_);
  // Without it the file is still removed when this object goes away uncommitted.
  (void)DeleteOnClose(file_.native(), true);
}

FileHandle ReplacementFile::OpenReader() { return std::move(reader_); }

ReplacementFile::~ReplacementFile() {
  if (committed_) return;
  file_ = FileHandle();
  ::DeleteFileW(SystemPath(temporaryPath_).c_str());
}

// The new content takes the old one's read-only, hidden and system attributes, as the file
// it replaces had them.
void ReplacementFile::TakeOverOwnerAndBits() {
  FILE_BASIC_INFO basic{};
  if (!::GetFileInformationByHandleEx(file_.native(), FileBasicInfo, &basic, sizeof basic)) Fail(shownPath_, ::GetLastError());
  basic.FileAttributes = target_.PermissionBits != 0 ? target_.PermissionBits : FILE_ATTRIBUTE_NORMAL;
  if (!::SetFileInformationByHandle(file_.native(), FileBasicInfo, &basic, sizeof basic)) Fail(shownPath_, ::GetLastError());
}

void ReplacementFile::KeepAfterClose() {
  if (DeleteOnClose(file_.native(), false)) return;
  const DWORD error = ::GetLastError();
  FILE_STANDARD_INFO standard{};
  // Where the removal could not be asked for in the first place, there is nothing to take back.
  if (::GetFileInformationByHandleEx(file_.native(), FileStandardInfo, &standard, sizeof standard) && !standard.DeletePending) return;
  Fail(shownPath_, error);
}

void ReplacementFile::RenameOverTarget() {
  const std::wstring from = SystemPath(temporaryPath_);
  const std::wstring to = SystemPath(target_.Path);
  // A read-only file cannot be replaced until it is made writable; it is made read-only
  // again (the new content took the attribute) by the move.
  const bool readOnly = target_.Exists && (target_.PermissionBits & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly) ::SetFileAttributesW(to.c_str(), target_.PermissionBits & ~DWORD{FILE_ATTRIBUTE_READONLY});
  if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = ::GetLastError();
    if (readOnly) ::SetFileAttributesW(to.c_str(), target_.PermissionBits);
    Fail(shownPath_, error);
  }
}

}  // namespace quillon
