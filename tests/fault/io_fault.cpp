#include "tests/fault/io_fault.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <stdexcept>

#include "fileio/block_io.h"

namespace quillon::testing {

namespace {

// The fault in force; the output's writer may call in from a thread of its own.
IoFault fault;
std::atomic<int> reads{0};
std::atomic<int> writes{0};
PositionedCalls replaced{};

using Kind = IoFault::Kind;

// Piecemeal calls alternate: an interruption, then a call that moves some bytes.
bool Interrupted(std::atomic<int>& calls) { return calls++ % 2 == 0; }

ssize_t FaultyRead(int fd, void* buffer, std::size_t count, off_t offset) {
  const std::int64_t end = offset + static_cast<std::int64_t>(count);
  switch (fault.kind) {
    case Kind::BadByte:
      if (offset <= fault.at && fault.at < end) {
        if (offset == fault.at) {
          errno = EIO;
          return -1;
        }
        count = static_cast<std::size_t>(fault.at - offset);  // the good bytes before the bad one
      }
      break;
    case Kind::EndsEarly:
      if (offset >= fault.at) return 0;
      if (end > fault.at) count = static_cast<std::size_t>(fault.at - offset);
      break;
    case Kind::ShrinksMidRun:
      if (++reads == 2 && ::truncate(fault.path.c_str(), fault.at) != 0) return -1;
      break;
    case Kind::GrowsMidRun:
      if (++reads == 2) {
        struct stat info {};
        if (::stat(fault.path.c_str(), &info) != 0 || ::truncate(fault.path.c_str(), info.st_size + fault.at) != 0) return -1;
      }
      break;
    case Kind::Piecemeal:
      if (Interrupted(reads)) {
        errno = EINTR;
        return -1;
      }
      count = std::min(count, static_cast<std::size_t>(fault.at));
      break;
    default:
      break;
  }
  return replaced.Read(fd, buffer, count, offset);
}

ssize_t FaultyWrite(int fd, const void* buffer, std::size_t count, off_t offset) {
  const std::int64_t end = offset + static_cast<std::int64_t>(count);
  switch (fault.kind) {
    case Kind::DiskFull:
      if (offset >= fault.at) {
        errno = ENOSPC;
        return -1;
      }
      if (end > fault.at) count = static_cast<std::size_t>(fault.at - offset);
      break;
    case Kind::WritesNothing:
      if (offset >= fault.at) return 0;
      if (end > fault.at) count = static_cast<std::size_t>(fault.at - offset);
      break;
    case Kind::Piecemeal:
      if (Interrupted(writes)) {
        errno = EINTR;
        return -1;
      }
      count = std::min(count, static_cast<std::size_t>(fault.at));
      break;
    default:
      break;
  }
  return replaced.Write(fd, buffer, count, offset);
}

}  // namespace

InjectedIoFault::InjectedIoFault(IoFault injected) {
  if (injected.kind == Kind::Piecemeal && injected.at < 1) throw std::invalid_argument("piecemeal calls must move bytes");
  fault = std::move(injected);
  reads = 0;
  writes = 0;
  replaced = ReplacePositionedCalls({FaultyRead, FaultyWrite});
}

InjectedIoFault::~InjectedIoFault() {
  ReplacePositionedCalls(replaced);
  fault = {};
}

}  // namespace quillon::testing
