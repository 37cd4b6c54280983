#include "fileio/scratch_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "fileio/block_io.h"
#include "fileio/file_error.h"

namespace quillon {

namespace {

constexpr std::size_t kCopyBlock = std::size_t{1} << 20;

// Reads what the stream has next, retrying interrupted reads; 0 at its end.
std::size_t ReadStream(int fd, const std::string& shownName, std::span<char> into) {
  for (;;) {
    const ssize_t got = ::read(fd, into.data(), into.size());
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw FileError("Cannot read", shownName, SystemReason(errno));
  }
}

#if defined(__linux__)
// Moves what the pipe `fd` holds next straight into `copy` at `at`, without a pass through
// this process's memory; 0 at its end, nothing when the kernel cannot splice these two files
// (then they are copied by reading and writing).
std::optional<std::size_t> SpliceStream(int fd, const std::string& shownName, const FileHandle& copy, std::int64_t at) {
  for (;;) {
    loff_t offset = at;
    const ssize_t moved = ::splice(fd, nullptr, copy.native(), &offset, kCopyBlock, SPLICE_F_MOVE | SPLICE_F_MORE);
    if (moved >= 0) return static_cast<std::size_t>(moved);
    if (errno == EINTR) continue;
    if (errno == EINVAL || errno == ENOSYS) return std::nullopt;
    // A failed write into the copy names the folder that is full, as WriteAt would.
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG || errno == EIO)
      throw FileError("Cannot write", ScratchFolder(), SystemReason(errno));
    throw FileError("Cannot read", shownName, SystemReason(errno));
  }
}
#endif

}  // namespace

std::string ScratchFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

FileHandle OpenScratchFile(const std::string& shownAs) {
  const std::string folder = ScratchFolder();
  FileHandle unnamed = OpenUnnamedForWrite(folder, 0600);
  if (unnamed.valid()) {
    unnamed.ShowAs(shownAs);
    return unnamed;
  }
  if (!UnnamedFilesUnsupported(unnamed.errorNumber())) throw FileError("Cannot write", folder, unnamed.error());
  std::string name = folder + "/.quillon-XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) throw FileError("Cannot write", folder, SystemReason(errno));
  FileHandle named(fd, shownAs);
  if (::unlink(name.c_str()) != 0) throw FileError("Cannot write", name, SystemReason(errno));
  return named;
}

FileHandle TakeInputStream(NativeHandle fd, const std::string& shownName, const std::function<void()>& beforeRead) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw FileError("Cannot read", shownName, SystemReason(errno));
  if (S_ISDIR(info.st_mode)) throw FileError("Cannot read", shownName, SystemReason(EISDIR));
  if (S_ISREG(info.st_mode) && ::lseek(fd, 0, SEEK_CUR) == 0) {
    FileHandle own(::fcntl(fd, F_DUPFD_CLOEXEC, 0), shownName);
    if (!own.valid()) throw FileError("Cannot read", shownName, SystemReason(errno));
    // Taken whole, as a stream read to its end would be: a second taking finds nothing left.
    ::lseek(fd, 0, SEEK_END);
    return own;
  }
  // A write that fails names the folder that is full; reads name the stream.
  FileHandle copy = OpenScratchFile(ScratchFolder());
  std::int64_t size = 0;
#if defined(__linux__)
  if (S_ISFIFO(info.st_mode)) {
    // A larger pipe lets the writer run further ahead between two wake-ups of this side. Only
    // a hint: a pipe kept at its size still works, a little slower.
    (void)::fcntl(fd, F_SETPIPE_SZ, static_cast<int>(kCopyBlock));
    for (;;) {
      beforeRead();
      const std::optional<std::size_t> moved = SpliceStream(fd, shownName, copy, size);
      if (!moved || *moved == 0) break;
      size += static_cast<std::int64_t>(*moved);
    }
  }
#endif
  const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyBlock);
  for (;;) {
    beforeRead();
    const std::size_t got = ReadStream(fd, shownName, {buffer.get(), kCopyBlock});
    if (got == 0) break;
    WriteAt(copy, size, {buffer.get(), got});
    size += static_cast<std::int64_t>(got);
  }
  copy.ShowAs(shownName);
  return copy;
}

}  // namespace quillon
