#include "fileio/file_handle.h"

#include <utility>

#include "fileio/file_error.h"
#include "fileio/system_calls.h"

namespace quillon {

FileHandle::FileHandle(NativeHandle native, std::string path) noexcept : native_(native), path_(std::move(path)) {}

FileHandle FileHandle::Failed(std::string path, int errorNumber) {
  FileHandle handle = Failed(std::move(path), SystemReason(errorNumber));
  handle.errorNumber_ = errorNumber;
  return handle;
}

FileHandle FileHandle::Failed(std::string path, std::string reason) {
  FileHandle handle;
  handle.path_ = std::move(path);
  handle.error_ = std::move(reason);
  return handle;
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : native_(std::exchange(other.native_, NoHandle())),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)),
      errorNumber_(other.errorNumber_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (valid()) SystemClose(native_);
    native_ = std::exchange(other.native_, NoHandle());
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
    errorNumber_ = other.errorNumber_;
  }
  return *this;
}

FileHandle::~FileHandle() {
  // A close that fails here has nothing left to report to: handles whose close matters
  // (the output) are closed through Close() first.
  if (valid()) SystemClose(native_);
}

bool FileHandle::valid() const noexcept { return native_ != NoHandle(); }

void FileHandle::Close() {
  if (!valid()) return;
  if (!SystemClose(std::exchange(native_, NoHandle()))) throw FileError("Cannot write", path_, SystemReason(LastSystemError()));
}

void CloseFileHandle(FileHandle& handle) { handle.Close(); }

std::optional<std::int64_t> TryFileSize(const FileHandle& handle) noexcept {
  try {
    return FileSize(handle);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

}  // namespace quillon
