#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <utility>

namespace quillon {

// An open file descriptor and the path it was opened from. A failed open gives a handle
// whose fd() is -1 and whose error() holds the system's reason; the descriptor is closed
// when the handle goes away.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(int fd, std::string path) noexcept;
  static FileHandle Failed(std::string path, int errorNumber);
  static FileHandle Failed(std::string path, std::string reason);

  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  [[nodiscard]] int fd() const noexcept { return fd_; }
  [[nodiscard]] bool valid() const noexcept { return fd_ >= 0; }
  [[nodiscard]] const std::string& path() const noexcept { return path_; }
  [[nodiscard]] const std::string& error() const noexcept { return error_; }
  [[nodiscard]] int errorNumber() const noexcept { return errorNumber_; }

  // Names the file differently in messages, e.g. a temporary file by the output it becomes.
  void ShowAs(std::string path) { path_ = std::move(path); }

  // Closes now and reports a failed close (a write the system could not complete) as FileError.
  void Close();

 private:
  int fd_ = -1;
  std::string path_;
  std::string error_;
  int errorNumber_ = 0;
};

// Opens an existing regular file for reading. Directories, devices, FIFOs and sockets
// are refused without blocking.
FileHandle OpenForRead(const std::string& path);

// Opens a file for writing, creating it empty if absent; an existing file keeps its content
// and length.
FileHandle OpenForWrite(const std::string& path);

// Opens a new file for reading and writing, so that what is written can be read back through
// a duplicate of the handle; fails if the file already exists. It gets `mode` less the umask.
FileHandle OpenNewForWrite(const std::string& path, mode_t mode = 0666);

// A new file in `folder`, open for reading and writing as above, that has no name until it is
// linked into a folder, so that nothing is left behind if the process dies before then. Fails
// with EOPNOTSUPP or EISDIR where the file system or the system cannot make one.
FileHandle OpenUnnamedForWrite(const std::string& folder, mode_t mode);

// Whether OpenUnnamedForWrite failed with `errorNumber` only because no unnamed file can be
// made there, so that a named one is the way on.
bool UnnamedFilesUnsupported(int errorNumber);

// A second descriptor of the same open file, closed on its own.
FileHandle DuplicateHandle(const FileHandle& handle);

void CloseFileHandle(FileHandle& handle);

// Size in bytes of an open file.
std::int64_t FileSize(const FileHandle& handle);

}  // namespace quillon
