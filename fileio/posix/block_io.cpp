#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "fileio/block_io.h"
#include "fileio/system_calls.h"

namespace quillon {

std::int64_t SystemPositionedRead(NativeHandle file, void* buffer, std::size_t count, std::int64_t offset) {
  return ::pread(file, buffer, count, static_cast<off_t>(offset));
}

std::int64_t SystemPositionedWrite(NativeHandle file, const void* buffer, std::size_t count, std::int64_t offset) {
  return ::pwrite(file, buffer, count, static_cast<off_t>(offset));
}

std::int64_t SystemStreamRead(NativeHandle stream, void* buffer, std::size_t count) { return ::read(stream, buffer, count); }

std::int64_t SystemStreamWrite(NativeHandle stream, const void* buffer, std::size_t count) {
  return ::write(stream, buffer, count);
}

bool InterruptedCall(int errorNumber) noexcept { return errorNumber == EINTR; }

int DiskFullError() noexcept { return ENOSPC; }

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace quillon
