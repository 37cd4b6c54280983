#include "fileio/block_io.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include "fileio/file_error.h"

namespace quillon {

namespace {

std::atomic<decltype(PositionedCalls::Read)> positionedRead{::pread};
std::atomic<decltype(PositionedCalls::Write)> positionedWrite{::pwrite};

ssize_t PositionedRead(int fd, void* buffer, std::size_t count, off_t offset) {
  return positionedRead.load(std::memory_order_relaxed)(fd, buffer, count, offset);
}

ssize_t PositionedWrite(int fd, const void* buffer, std::size_t count, off_t offset) {
  return positionedWrite.load(std::memory_order_relaxed)(fd, buffer, count, offset);
}

}  // namespace

PositionedCalls ReplacePositionedCalls(PositionedCalls calls) noexcept {
  return {positionedRead.exchange(calls.Read), positionedWrite.exchange(calls.Write)};
}

std::size_t ReadAt(const FileHandle& file, std::int64_t offset, std::span<char> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = PositionedRead(file.fd(), out.data() + done, out.size() - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
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

namespace {

// Calls `write(from, count, done)` until all of `bytes` is written; it returns what the
// system's write does. A write that takes nothing means the device is full.
template <typename WriteCall>
void WriteAll(std::string_view shownPath, std::span<const char> bytes, WriteCall write) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(bytes.data() + done, bytes.size() - done, done);
    if (put < 0) {
      if (errno == EINTR) continue;
      throw FileError("Cannot write", shownPath, SystemReason(errno));
    }
    if (put == 0) throw FileError("Cannot write", shownPath, SystemReason(ENOSPC));
    done += static_cast<std::size_t>(put);
  }
}

}  // namespace

void WriteAt(const FileHandle& file, std::int64_t offset, std::span<const char> bytes) {
  WriteAll(file.path(), bytes, [&](const char* from, std::size_t count, std::size_t done) {
    return PositionedWrite(file.fd(), from, count, static_cast<off_t>(offset) + static_cast<off_t>(done));
  });
}

void WriteToStream(int fd, std::string_view shownPath, std::span<const char> bytes) {
  WriteAll(shownPath, bytes, [fd](const char* from, std::size_t count, std::size_t) { return ::write(fd, from, count); });
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace quillon
