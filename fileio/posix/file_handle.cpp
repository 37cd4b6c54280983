#include "fileio/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileio/file_error.h"
#include "fileio/system_calls.h"

namespace quillon {

NativeHandle NoHandle() noexcept { return -1; }

bool SystemClose(NativeHandle native) noexcept { return ::close(native) == 0 || errno == EINTR; }

namespace {

FileHandle OpenWith(const std::string& path, int flags, std::uint32_t permissionBits = 0666) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, static_cast<mode_t>(permissionBits));
  if (fd < 0) return FileHandle::Failed(path, errno);
  return FileHandle(fd, path);
}

}  // namespace

FileHandle OpenForRead(const std::string& path) {
  // O_NONBLOCK so that opening a FIFO with no writer returns at once; it is refused below.
  FileHandle handle = OpenWith(path, O_RDONLY | O_NONBLOCK);
  if (!handle.valid()) return handle;
  struct stat info {};
  if (::fstat(handle.native(), &info) != 0) return FileHandle::Failed(path, errno);
  if (S_ISDIR(info.st_mode)) return FileHandle::Failed(path, EISDIR);
  if (!S_ISREG(info.st_mode)) return FileHandle::Failed(path, "not a regular file");
  const int flags = ::fcntl(handle.native(), F_GETFL);
  if (flags < 0 || ::fcntl(handle.native(), F_SETFL, flags & ~O_NONBLOCK) != 0)
    return FileHandle::Failed(path, errno);
  return handle;
}

FileHandle OpenForWrite(const std::string& path) { return OpenWith(path, O_WRONLY | O_CREAT); }

FileHandle OpenNewForWrite(const std::string& path, std::uint32_t permissionBits) {
  return OpenWith(path, O_RDWR | O_CREAT | O_EXCL, permissionBits);
}

FileHandle OpenUnnamedForWrite(const std::string& folder, std::uint32_t permissionBits) {
  return OpenWith(folder, O_RDWR | O_TMPFILE, permissionBits);
}

bool UnnamedFilesUnsupported(int errorNumber) {
  return errorNumber == EOPNOTSUPP || errorNumber == EISDIR || errorNumber == EINVAL;
}

std::int64_t FileSize(const FileHandle& handle) {
  struct stat info {};
  if (::fstat(handle.native(), &info) != 0) throw FileError("Cannot read", handle.path(), SystemReason(errno));
  return info.st_size;
}

FileHandle DuplicateHandle(const FileHandle& handle) {
  const int fd = ::fcntl(handle.native(), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return FileHandle::Failed(handle.path(), errno);
  return {fd, handle.path()};
}

FileIdentity IdentityOf(const FileHandle& handle) {
  struct stat info {};
  if (::fstat(handle.native(), &info) != 0) throw FileError("Cannot read", handle.path(), SystemReason(errno));
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace quillon
