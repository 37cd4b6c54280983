#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quillon {

// What the system opens a file as: a descriptor, or on Windows a HANDLE.
#if defined(_WIN32)
using NativeHandle = void*;
#else
using NativeHandle = int;
#endif

// The value no open file has.
NativeHandle NoHandle() noexcept;

// An open file and the path it was opened from. A failed open gives a handle that is not
// valid() and whose error() holds the system's reason; the file is closed when the handle goes
// away.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(NativeHandle native, std::string path) noexcept;
  // `errorNumber` is the system's code: errno, or on Windows GetLastError().
  static FileHandle Failed(std::string path, int errorNumber);
  static FileHandle Failed(std::string path, std::string reason);

  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  [[nodiscard]] NativeHandle native() const noexcept { return native_; }
  [[nodiscard]] bool valid() const noexcept;
  [[nodiscard]] const std::string& path() const noexcept { return path_; }
  [[nodiscard]] const std::string& error() const noexcept { return error_; }
  [[nodiscard]] int errorNumber() const noexcept { return errorNumber_; }

  // Names the file differently in messages, e.g. a temporary file by the output it becomes.
  void ShowAs(std::string path) { path_ = std::move(path); }

  // Closes now and reports a failed close (a write the system could not complete) as FileError.
  void Close();

 private:
  NativeHandle native_ = NoHandle();
  std::string path_;
  std::string error_;
  int errorNumber_ = 0;
};

// Opens an existing regular file for reading; others may read and write it meanwhile.
// Directories, devices, FIFOs and sockets are refused without blocking.
FileHandle OpenForRead(const std::string& path);

// Opens a file for writing, creating it empty if absent; an existing file keeps its content
// and length.
FileHandle OpenForWrite(const std::string& path);

// Opens a new file for reading and writing, so that what is written can be read back through
// a duplicate of the handle; fails if the file already exists. On POSIX systems it gets
// `permissionBits` less the umask.
FileHandle OpenNewForWrite(const std::string& path, std::uint32_t permissionBits = 0666);

#if !defined(_WIN32)
// A new file in `folder`, open for reading and writing as above, that has no name until it is
// linked into a folder, so that nothing is left behind if the process dies before then. Fails
// with EOPNOTSUPP or EISDIR where the file system or the system cannot make one.
FileHandle OpenUnnamedForWrite(const std::string& folder, std::uint32_t permissionBits);

// Whether OpenUnnamedForWrite failed with `errorNumber` only because no unnamed file can be
// made there, so that a named one is the way on.
bool UnnamedFilesUnsupported(int errorNumber);
#endif

// A second handle of the same open file, closed on its own.
FileHandle DuplicateHandle(const FileHandle& handle);

void CloseFileHandle(FileHandle& handle);

// Size in bytes of an open file. Throws FileError.
std::int64_t FileSize(const FileHandle& handle);

// The same, or nothing when the system cannot tell.
std::optional<std::int64_t> TryFileSize(const FileHandle& handle) noexcept;

// Which file an open handle is, whatever path it was opened by: two handles of the same file
// (through links, or two names of it) have the same identity.
struct FileIdentity {
  std::uint64_t Volume = 0;
  std::uint64_t File = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Throws FileError.
FileIdentity IdentityOf(const FileHandle& handle);

}  // namespace quillon
