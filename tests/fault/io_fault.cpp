#include "tests/fault/io_fault.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string_view>
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

// Whether `fd` is a file in the folder the fault is confined to, named or not yet named.
bool Concerned(int fd) {
  if (fault.within.empty()) return true;
  std::error_code error;
  std::string target = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
  if (error) return true;
  constexpr std::string_view kDeleted = " (deleted)";
  if (target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
  return std::filesystem::path(target).parent_path() == fault.within;
}

// Piecemeal calls alternate: an interruption, then a call that moves some bytes.
bool Interrupted(std::atomic<int>& calls) { return calls++ % 2 == 0; }

std::int64_t FaultyRead(NativeHandle fd, void* buffer, std::size_t count, std::int64_t offset) {
  if (!Concerned(fd)) return replaced.Read(fd, buffer, count, offset);
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

std::int64_t FaultyWrite(NativeHandle fd, const void* buffer, std::size_t count, std::int64_t offset) {
  if (!Concerned(fd)) return replaced.Write(fd, buffer, count, offset);
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
  if (!fault.within.empty()) fault.within = std::filesystem::canonical(fault.within).string();
  reads = 0;
  writes = 0;
  replaced = ReplacePositionedCalls({FaultyRead, FaultyWrite});
}

InjectedIoFault::~InjectedIoFault() {
  ReplacePositionedCalls(replaced);
  fault = {};
}

}  // namespace quillon::testing
