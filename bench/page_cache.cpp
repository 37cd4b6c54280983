#include "bench/page_cache.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"

namespace quillon::bench {

namespace {

// Small enough to keep this process's own peak memory low: a child started with
// posix_spawn inherits its parent's peak into its own rusage figure.
constexpr std::size_t kChunk = std::size_t{256} << 10;

FileHandle OpenInput(const std::string& path) {
  FileHandle file = OpenForRead(path);
  if (!file.valid()) throw FileError("Cannot open", path, file.error());
  return file;
}

}  // namespace

void WarmPageCache(const std::string& path) {
  const FileHandle file = OpenInput(path);
  std::vector<char> chunk(kChunk);
  std::int64_t offset = 0;
  while (const std::size_t got = ReadAt(file, offset, chunk)) offset += static_cast<std::int64_t>(got);
}

void CopyPrefix(const std::string& from, const std::string& to, std::uint64_t bytes) {
  const FileHandle input = OpenInput(from);
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError("Cannot write", to, SystemReason(errno));
  FileHandle output(fd, to);
  std::vector<char> chunk(kChunk);
  std::int64_t offset = 0;
  while (static_cast<std::uint64_t>(offset) < bytes) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, bytes - static_cast<std::uint64_t>(offset)));
    const std::span<char> piece = std::span<char>(chunk).first(want);
    ReadExactlyAt(input, offset, piece);
    WriteAt(output, offset, piece);
    offset += static_cast<std::int64_t>(want);
  }
  output.Close();
}

}  // namespace quillon::bench
