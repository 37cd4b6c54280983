#pragma once

#include <cstddef>
#include <cstdint>

#include "fileio/file_handle.h"

// The system's own reads and writes under fileio's calls, one definition for each system.
// Each returns the bytes it moved, 0 at the end, or -1 with the reason in LastSystemError().
namespace quillon {

std::int64_t SystemPositionedRead(NativeHandle file, void* buffer, std::size_t count, std::int64_t offset);
std::int64_t SystemPositionedWrite(NativeHandle file, const void* buffer, std::size_t count, std::int64_t offset);
std::int64_t SystemStreamRead(NativeHandle stream, void* buffer, std::size_t count);
std::int64_t SystemStreamWrite(NativeHandle stream, const void* buffer, std::size_t count);

}  // namespace quillon

namespace quillon {

// Closes `native`; false with the reason in LastSystemError() when the close reports a failure.
bool SystemClose(NativeHandle native) noexcept;

}  // namespace quillon
