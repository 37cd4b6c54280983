#include "fileio/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "fileio/file_error.h"

namespace quillon {

FileHandle::FileHandle(int fd, std::string path) noexcept : fd_(fd), path_(std::move(path)) {}

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
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)),
      errorNumber_(other.errorNumber_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
    errorNumber_ = other.errorNumber_;
  }
  return *this;
}

FileHandle::~FileHandle() {
  // A close that fails here has nothing left to report to: handles whose close matters
  // (the output) are closed through Close() first.
  if (fd_ >= 0) ::close(fd_);
}

void FileHandle::Close() {
  if (fd_ < 0) return;
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) throw FileError("Cannot write", path_, SystemReason(errno));
}

namespace {

FileHandle OpenWith(const std::string& path, int flags, mode_t mode = 0666) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
  if (fd < 0) return FileHandle::Failed(path, errno);
  return FileHandle(fd, path);
}

}  // namespace

FileHandle OpenForRead(const std::string& path) {
  // O_NONBLOCK so that opening a FIFO with no writer returns at once; it is refused below.
  FileHandle handle = OpenWith(path, O_RDONLY | O_NONBLOCK);
  if (!handle.valid()) return handle;
  struct stat info {};
  if (::fstat(handle.fd(), &info) != 0) return FileHandle::Failed(path, errno);
  if (S_ISDIR(info.st_mode)) return FileHandle::Failed(path, EISDIR);
  if (!S_ISREG(info.st_mode)) return FileHandle::Failed(path, "not a regular file");
  const int flags = ::fcntl(handle.fd(), F_GETFL);
  if (flags < 0 || ::fcntl(handle.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0)
    return FileHandle::Failed(path, errno);
  return handle;
}

FileHandle OpenForWrite(const std::string& path) { return OpenWith(path, O_WRONLY | O_CREAT); }

FileHandle OpenNewForWrite(const std::string& path, mode_t mode) { return OpenWith(path, O_RDWR | O_CREAT | O_EXCL, mode); }

FileHandle OpenUnnamedForWrite(const std::string& folder, mode_t mode) { return OpenWith(folder, O_RDWR | O_TMPFILE, mode); }

bool UnnamedFilesUnsupported(int errorNumber) {
  return errorNumber == EOPNOTSUPP || errorNumber == EISDIR || errorNumber == EINVAL;
}

void CloseFileHandle(FileHandle& handle) { handle.Close(); }

std::int64_t FileSize(const FileHandle& handle) {
  struct stat info {};
  if (::fstat(handle.fd(), &info) != 0) throw FileError("Cannot read", handle.path(), SystemReason(errno));
  return info.st_size;
}

FileHandle DuplicateHandle(const FileHandle& handle) {
  const int fd = ::fcntl(handle.fd(), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return FileHandle::Failed(handle.path(), errno);
  return {fd, handle.path()};
}

}  // namespace quillon
