#include "fileio/block_io.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "fileio/file_error.h"

namespace quillon {

std::size_t ReadAt(const FileHandle& file, std::int64_t offset, std::span<char> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(file.fd(), out.data() + done, out.size() - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (got < 0) {
      if (errno == EINTR) continue;
      throw FileError("Cannot read", file.path(), SystemReason(errno));
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

void ReadExactlyAt(const FileHandle& file, std::int64_t offset, std::span<char> out) {
  if (ReadAt(file, offset, out) != out.size())
    throw FileError("Cannot read", file.path(), "the file became shorter while it was read");
}

void WriteAt(const FileHandle& file, std::int64_t offset, std::span<const char> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::pwrite(file.fd(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (put < 0) {
      if (errno == EINTR) continue;
      throw FileError("Cannot write", file.path(), SystemReason(errno));
    }
    if (put == 0) throw FileError("Cannot write", file.path(), SystemReason(ENOSPC));
    done += static_cast<std::size_t>(put);
  }
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace quillon
