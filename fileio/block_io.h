#pragma once

#include <sys/types.h>

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

// Writes all of `bytes` to the stream `fd` (a pipe, a terminal) at its current place; messages
// name `shownPath`. Throws FileError on failure.
void WriteToStream(int fd, std::string_view shownPath, std::span<const char> bytes);

// Makes a file size limit fail a write with EFBIG instead of killing the process.
void IgnoreFileSizeSignal();

// The positioned read and write under ReadAt and WriteAt: the system's pread and pwrite,
// unless a fault test has put its own in place.
struct PositionedCalls {
  ssize_t (*Read)(int fd, void* buffer, std::size_t count, off_t offset);
  ssize_t (*Write)(int fd, const void* buffer, std::size_t count, off_t offset);
};

// Puts `calls` in place of the current ones and returns those. For tests, between runs.
PositionedCalls ReplacePositionedCalls(PositionedCalls calls) noexcept;

}  // namespace quillon
