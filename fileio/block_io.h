#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fileio/file_handle.h"

namespace quillon {

// Reads into `out` from `offset`, retrying short reads; returns how many bytes were read,
// fewer than out.size() only at the end of the file. Throws FileError on failure.
std::size_t ReadAt(const FileHandle& file, std::int64_t offset, std::span<char> out);

// Reads exactly out.size() bytes at `offset`; a file that ends sooner has become shorter
// since its size was taken, which throws FileError.
void ReadExactlyAt(const FileHandle& file, std::int64_t offset, std::span<char> out);

// Writes all of `bytes` at `offset`. Throws FileError on failure (a full disk, a file size
// limit, an I/O error).
void WriteAt(const FileHandle& file, std::int64_t offset, std::span<const char> bytes);

// Writes all of `bytes` to the stream `stream` (a pipe, a terminal) at its current place;
// messages name `shownPath`. Throws FileError on failure.
void WriteToStream(NativeHandle stream, std::string_view shownPath, std::span<const char> bytes);

// Makes a file size limit fail a write with EFBIG instead of killing the process.
void IgnoreFileSizeSignal();

// The positioned read and write under ReadAt and WriteAt: the system's own, unless a fault
// test has put its own in place. Each returns the bytes it moved, 0 at the end of the file,
// or -1 with the reason in LastSystemError().
struct PositionedCalls {
  std::int64_t (*Read)(NativeHandle file, void* buffer, std::size_t count, std::int64_t offset);
  std::int64_t (*Write)(NativeHandle file, const void* buffer, std::size_t count, std::int64_t offset);
};

// Puts `calls` in place of the current ones and returns those. For tests, between runs.
PositionedCalls ReplacePositionedCalls(PositionedCalls calls) noexcept;

// Whether a failed call with this reason is worth making again: it was interrupted.
bool InterruptedCall(int errorNumber) noexcept;

// A reason for a write that could not move a byte: the disk is full.
int DiskFullError() noexcept;

}  // namespace quillon
