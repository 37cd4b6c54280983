#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "fileio/file_handle.h"
#include "resultview/byte_source.h"

namespace quillon {

// The output file's bytes as the result view reads them: positioned reads into a few blocks
// kept for reuse, the least recently used going first. The file is never mapped: a mapped file
// that another program truncates kills the process at the next touch, while a read only comes
// up short. A read that fails or comes up short counts as the end of the text.
// For one thread.
class FileBlockCache : public ByteSource {
 public:
  static constexpr std::size_t kBlockBytes = std::size_t{64} << 10;
  static constexpr std::size_t kBlocks = 32;

  explicit FileBlockCache(std::size_t blockBytes = kBlockBytes, std::size_t blocks = kBlocks);

  // Reads `file` from now on (nothing when null), forgetting all it read before.
  void Open(std::shared_ptr<const FileHandle> file);
  // Reads nothing at or past `size`: the text ends there.
  void Limit(std::uint64_t size) noexcept { limit_ = size; }
  // The file's size now; nothing without a file or when the system cannot tell.
  [[nodiscard]] std::optional<std::uint64_t> FileSize() const;

  std::size_t Read(std::uint64_t offset, std::span<char> out) const override;

  // Whether a read came up short of the limit since the last call: the file has become shorter
  // or unreadable.
  bool TakeShortRead() noexcept;

  [[nodiscard]] std::size_t MemoryBytes() const noexcept;

 private:
  struct Block {
    std::uint64_t offset = 0;
    std::size_t valid = 0;
    std::uint64_t lastUse = 0;
    std::vector<char> bytes;
  };
  // The block at `offset`, read far enough for `needed` bytes when the file has them.
  const Block& BlockFor(std::uint64_t offset, std::size_t needed) const;
  std::size_t ReadFile(std::uint64_t offset, std::span<char> out) const;

  const std::size_t blockBytes_;
  const std::size_t blockCount_;
  std::shared_ptr<const FileHandle> file_;
  std::uint64_t limit_ = 0;
  mutable std::vector<Block> blocks_;
  mutable std::uint64_t clock_ = 0;
  mutable bool shortRead_ = false;
};

}  // namespace quillon
