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

// A file's new pages come in pieces (folios) as large as the aligned stretch a write fills. On
// a virtual machine whose host takes back free memory, large pieces come from the blocks it
// took back, and every page of them faults in the host as it is filled. There a gigabyte
// written 1 MiB a call took 1.8-2.3 s and 256 KiB a call at aligned offsets 0.8-1.4 s, but
// 256 KiB calls that began and ended inside a page 0.27-0.31 s, as fast as cp: the page cache
// then takes the pieces at each call's ends small. So every call writes at most 256 KiB and
// ends halfway into a page.
constexpr std::size_t kLargestFileWrite = std::size_t{256} << 10;
constexpr std::int64_t kPageSize = 4096;

std::size_t FileWriteLength(std::int64_t offset, std::size_t count) {
  const auto pastMiddleOfPage = static_cast<std::size_t>((offset + kPageSize / 2) % kPageSize);
  return std::min(count, kLargestFileWrite - pastMiddleOfPage);
}

}  // namespace

void WriteAt(const FileHandle& file, std::int64_t offset, std::span<const char> bytes) {
  const auto write = positionedWrite.load(std::memory_order_relaxed);
  WriteAll(file.path(), bytes, [&](const char* from, std::size_t count, std::size_t done) {
    const std::int64_t at = offset + static_cast<std::int64_t>(done);
    return write(file.native(), from, FileWriteLength(at, count), at);
  });
}

void WriteToStream(NativeHandle stream, std::string_view shownPath, std::span<const char> bytes) {
  WriteAll(shownPath, bytes, [stream](const char* from, std::size_t count, std::size_t) { return SystemStreamWrite(stream, from, count); });
}

}  // namespace quillon
