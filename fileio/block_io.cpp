#include "fileio/block_io.h"

#include <algorithm>
#include <atomic>

#include "fileio/file_error.h"
#include "fileio/system_calls.h"

namespace quillon {

namespace {

std::atomic<decltype(PositionedCalls::Read)> positionedRead{SystemPositionedRead};
std::atomic<decltype(PositionedCalls::Write)> positionedWrite{SystemPositionedWrite};

}  // namespace

PositionedCalls ReplacePositionedCalls(PositionedCalls calls) noexcept {
  return {positionedRead.exchange(calls.Read), positionedWrite.exchange(calls.Write)};
}

std::size_t ReadAt(const FileHandle& file, std::int64_t offset, std::span<char> out) {
  const auto read = positionedRead.load(std::memory_order_relaxed);
  std::size_t done = 0;
  while (done < out.size()) {
    const std::int64_t got = read(file.native(), out.data() + done, out.size() - done, offset + static_cast<std::int64_t>(done));
    if (got < 0) {
      const int error = LastSystemError();
      if (InterruptedCall(error)) continue;
      throw FileError("Cannot read", file.path(), SystemReason(error));
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
    const std::int64_t put = write(bytes.data() + done, bytes.size() - done, done);
    if (put < 0) {
      const int error = LastSystemError();
      if (InterruptedCall(error)) continue;
      throw FileError("Cannot write", shownPath, SystemReason(error));
    }
    if (put == 0) throw FileError("Cannot write", shownPath, SystemReason(DiskFullError()));
    done += static_cast<std::size_t>(put);
  }
}

}  // namespace

// A file's new pages come in pieces as large as the write that fills them: a write of 1 MiB
// takes them from the large free blocks that a virtual machine's host may have taken back,
// so that each page faults in the host as it is filled. On such a machine, writes of 256 KiB
// filled a gigabyte three to five times as fast as writes of 1 MiB when it had been idle, and
// no slower when not; the calls they add cost nothing that a gigabyte's copy would show.
constexpr std::size_t kLargestFileWrite = std::size_t{256} << 10;

void WriteAt(const FileHandle& file, std::int64_t offset, std::span<const char> bytes) {
  const auto write = positionedWrite.load(std::memory_order_relaxed);
  WriteAll(file.path(), bytes, [&](const char* from, std::size_t count, std::size_t done) {
    return write(file.native(), from, std::min(count, kLargestFileWrite), offset + static_cast<std::int64_t>(done));
  });
}

void WriteToStream(NativeHandle stream, std::string_view shownPath, std::span<const char> bytes) {
  WriteAll(shownPath, bytes, [stream](const char* from, std::size_t count, std::size_t) { return SystemStreamWrite(stream, from, count); });
}

}  // namespace quillon
