#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "fileio/file_handle.h"
#include "fileio/read_ahead.h"

namespace quillon {

inline constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;

// Position of the next byte to read backwards. -1 means before the first byte.
struct ReadCursor {
  std::int64_t Offset = 0;
};

// Serves the bytes of a file of known size, one aligned block at a time, for walks from the
// end to the start: one positioned read per block instead of one per byte.
class BackwardReader {
 public:
  BackwardReader(const FileHandle& file, std::int64_t size, std::size_t blockSize = kDefaultBlockSize);

  [[nodiscard]] std::int64_t size() const noexcept { return size_; }

  // The byte at `position`; nothing before the start or at or after the end.
  std::optional<unsigned char> ByteAt(std::int64_t position);

  // The bytes from the start of the block that holds `position` up to and including it.
  // `position` must lie inside the file.
  std::span<const char> BlockUpTo(std::int64_t position);
  [[nodiscard]] std::int64_t BlockStart() const noexcept { return blockStart_; }

  // The bytes [begin, end) of the file: in the loaded block where it holds them all, else read
  // into `scratch`. For a walk forwards over a line already found, which leaves the loaded
  // block and the block being read ahead as they are.
  std::span<const char> BytesOf(std::int64_t begin, std::int64_t end, std::vector<char>& scratch);

  // Called with a block's start just before the block is read. A walk over a long line
  // loads block after block inside one call; this lets its caller see it move, and end it
  // by throwing, which leaves the reader as it was.
  using BlockLoadHook = std::function<void(std::int64_t blockStart)>;
  void OnBlockLoad(BlockLoadHook hook) { onBlockLoad_ = std::move(hook); }

  // Called with each block just after it is read, and before it is served.
  using BlockReadHook = std::function<void(std::int64_t blockStart, std::span<const char> bytes)>;
  void OnBlockRead(BlockReadHook hook) { onBlockRead_ = std::move(hook); }

  // From now on, each block loaded has the block before it read on a thread of its own while
  // the caller works on it: for a walk from the end to the start.
  void ReadAheadBackwards();

 private:
  void Load(std::int64_t position);
  void AskForBlockBefore();

  const FileHandle& file_;
  std::int64_t size_;
  std::size_t blockSize_;
  std::vector<char> block_;
  std::int64_t blockStart_ = 0;
  std::int64_t blockEnd_ = 0;
  BlockLoadHook onBlockLoad_;
  BlockReadHook onBlockRead_;
  std::vector<char> aheadBlock_;
  std::int64_t aheadStart_ = -1;  // the block being read ahead, if any
  // Last: its thread must stop before the block it reads into goes away.
  std::unique_ptr<ReadAhead> ahead_;
};

}  // namespace quillon
