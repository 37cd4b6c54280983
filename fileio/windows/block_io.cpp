#include <windows.h>

#include <algorithm>

#include "fileio/block_io.h"
#include "fileio/system_calls.h"

namespace quillon {

namespace {

// One call moves at most this much: the system counts in 32 bits.
constexpr std::size_t kMostPerCall = std::size_t{1} << 30;

DWORD Portion(std::size_t count) { return static_cast<DWORD>(std::min(count, kMostPerCall)); }

OVERLAPPED At(std::int64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xffffffffU);
  at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  return at;
}

}  // namespace

std::int64_t SystemPositionedRead(NativeHandle file, void* buffer, std::size_t count, std::int64_t offset) {
  OVERLAPPED at = At(offset);
  DWORD got = 0;
  if (::ReadFile(file, buffer, Portion(count), &got, &at)) return got;
  return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

std::int64_t SystemPositionedWrite(NativeHandle file, const void* buffer, std::size_t count, std::int64_t offset) {
  OVERLAPPED at = At(offset);
  DWORD put = 0;
  if (::WriteFile(file, buffer, Portion(count), &put, &at)) return put;
  return -1;
}

std::int64_t SystemStreamRead(NativeHandle stream, void* buffer, std::size_t count) {
  DWORD got = 0;
  if (::ReadFile(stream, buffer, Portion(count), &got, nullptr)) return got;
  // A pipe whose writer has gone has come to its end.
  return ::GetLastError() == ERROR_BROKEN_PIPE || ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

std::int64_t SystemStreamWrite(NativeHandle stream, const void* buffer, std::size_t count) {
  DWORD put = 0;
  if (::WriteFile(stream, buffer, Portion(count), &put, nullptr)) return put;
  return -1;
}

bool InterruptedCall(int) noexcept { return false; }

int DiskFullError() noexcept { return ERROR_DISK_FULL; }

void IgnoreFileSizeSignal() {}

}  // namespace quillon
