#include "tests/fault/io_fault.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <stdexcept>

#include "fileio/block_io.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {

namespace {

// The fault in force; the output's writer may call in from a thread of its own.
IoFault fault;
std::atomic<int> reads{0};
std::atomic<int> writes{0};
PositionedCalls replaced{};

using Kind = IoFault::Kind;

// The reasons a failed call gives, as the system has them.
#if defined(_WIN32)
void FailWith(Kind kind) {
  ::SetLastError(kind == Kind::DiskFull ? ERROR_DISK_FULL : ERROR_CRC);
}
bool InterruptionsHappen() { return false; }

std::filesystem::path FolderOf(NativeHandle fd) {
  wchar_t path[4096];
  const DWORD length = ::GetFinalPathNameByHandleW(fd, path, 4096, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= 4096) return {};
  std::wstring_view shown(path, length);
  // As the standard library names the folder the fault is confined to.
  if (shown.starts_with(LR"(\\?\)")) shown.remove_prefix(4);
  return std::filesystem::path(shown).parent_path();
}
#else
void FailWith(Kind kind) { errno = kind == Kind::DiskFull ? ENOSPC : kind == Kind::Piecemeal ? EINTR : EIO; }
bool InterruptionsHappen() { return true; }

std::filesystem::path FolderOf(NativeHandle fd) {
  std::error_code error;
  std::string target = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
  if (error) return {};
  constexpr std::string_view kDeleted = " (deleted)";
  if (target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
  return std::filesystem::path(target).parent_path();
}
#endif

// Whether `fd` is a file in the folder the fault is confined to, named or not yet named.
bool Concerned(NativeHandle fd) {
  if (fault.within.empty()) return true;
  const std::filesystem::path folder = FolderOf(fd);
  return folder.empty() || folder == fault.within;
}

// Piecemeal calls alternate: an interruption, then a call that moves some bytes.
bool Interrupted(std::atomic<int>& calls) { return InterruptionsHappen() && calls++ % 2 == 0; }

std::int64_t FaultyRead(NativeHandle fd, void* buffer, std::size_t count, std::int64_t offset) {
  if (!Concerned(fd)) return replaced.Read(fd, buffer, count, offset);
  const std::int64_t end = offset + static_cast<std::int64_t>(count);
  switch (fault.kind) {
    case Kind::BadByte:
      if (offset <= fault.at && fault.at < end) {
        if (offset == fault.at) {
          FailWith(fault.kind);
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
      if (++reads == 2) std::filesystem::resize_file(FileSystemPath(fault.path), static_cast<std::uintmax_t>(fault.at));
      break;
    case Kind::GrowsMidRun:
      if (++reads == 2) {
        const std::filesystem::path grown = FileSystemPath(fault.path);
        std::filesystem::resize_file(grown, std::filesystem::file_size(grown) + static_cast<std::uintmax_t>(fault.at));
      }
      break;
    case Kind::Piecemeal:
      if (Interrupted(reads)) {
        FailWith(fault.kind);
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
        FailWith(fault.kind);
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
        FailWith(fault.kind);
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
  if (!fault.within.empty()) fault.within = std::filesystem::canonical(FileSystemPath(fault.within)).string();
  reads = 0;
  writes = 0;
  replaced = ReplacePositionedCalls({FaultyRead, FaultyWrite});
}

InjectedIoFault::~InjectedIoFault() {
  ReplacePositionedCalls(replaced);
  fault = {};
}

}  // namespace quillon::testing
