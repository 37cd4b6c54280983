#include "resultview/file_block_cache.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "fileio/block_io.h"
#include "fileio/file_error.h"

namespace quillon {

FileBlockCache::FileBlockCache(std::size_t blockBytes, std::size_t blocks) : blockBytes_(blockBytes), blockCount_(blocks) {
  if (blockBytes == 0 || blocks == 0) throw std::invalid_argument("FileBlockCache: needs at least one block of at least one byte");
}

void FileBlockCache::Open(std::shared_ptr<const FileHandle> file) {
  file_ = std::move(file);
  blocks_.clear();
  blocks_.shrink_to_fit();
  limit_ = 0;
  shortRead_ = false;
}

std::optional<std::uint64_t> FileBlockCache::FileSize() const {
  if (file_ == nullptr) return std::nullopt;
  const std::optional<std::int64_t> size = TryFileSize(*file_);
  if (!size) return std::nullopt;
  return static_cast<std::uint64_t>(*size);
}

bool FileBlockCache::TakeShortRead() noexcept { return std::exchange(shortRead_, false); }

std::size_t FileBlockCache::MemoryBytes() const noexcept {
  std::size_t bytes = blocks_.capacity() * sizeof(Block);
  for (const Block& block : blocks_) bytes += block.bytes.capacity();
  return bytes;
}

std::size_t FileBlockCache::ReadFile(std::uint64_t offset, std::span<char> out) const {
  std::size_t got = 0;
  try {
    got = ReadAt(*file_, static_cast<std::int64_t>(offset), out);
  } catch (const FileError&) {
    // The view cannot show an error in the middle of a paint; it shows the text as ending
    // here and, told by TakeShortRead(), takes in the file's new state.
    got = 0;
  }
  if (got < out.size()) shortRead_ = true;
  return got;
}

const FileBlockCache::Block& FileBlockCache::BlockFor(std::uint64_t offset, std::size_t needed) const {
  ++clock_;
  auto block = std::find_if(blocks_.begin(), blocks_.end(), [offset](const Block& b) { return b.offset == offset; });
  if (block != blocks_.end() && block->valid >= needed) {
    block->lastUse = clock_;
    return *block;
  }
  // A block read while the run was still writing it is read again once more of it is wanted.
  if (block == blocks_.end()) {
    if (blocks_.size() < blockCount_) {
      block = blocks_.emplace(blocks_.end());
      block->bytes.resize(blockBytes_);
    } else {
      block = std::min_element(blocks_.begin(), blocks_.end(), [](const Block& a, const Block& b) { return a.lastUse < b.lastUse; });
    }
  }
  block->offset = offset;
  block->lastUse = clock_;
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(blockBytes_, limit_ - offset));
  block->valid = ReadFile(offset, std::span<char>(block->bytes).first(length));
  return *block;
}

std::size_t FileBlockCache::Read(std::uint64_t offset, std::span<char> out) const {
  if (file_ == nullptr || offset >= limit_) return 0;
  const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), limit_ - offset));
  // Long reads (a copy) pass the cache by, so that they do not push out what is in sight.
  if (wanted >= 2 * blockBytes_) return ReadFile(offset, out.first(wanted));
  std::size_t done = 0;
  while (done < wanted) {
    const std::uint64_t at = offset + done;
    const std::uint64_t blockOffset = at - at % blockBytes_;
    const auto within = static_cast<std::size_t>(at - blockOffset);
    const std::size_t count = std::min(wanted - done, blockBytes_ - within);
    const Block& block = BlockFor(blockOffset, within + count);
    const std::size_t available = block.valid > within ? std::min(count, block.valid - within) : 0;
    std::memcpy(out.data() + done, block.bytes.data() + within, available);
    done += available;
    if (available < count) break;
  }
  return done;
}

}  // namespace quillon
