#include "fileio/backward_reader.h"

#include <algorithm>
#include <utility>

#include "fileio/block_io.h"

namespace quillon {

BackwardReader::BackwardReader(const FileHandle& file, std::int64_t size, std::size_t blockSize)
    : file_(file), size_(size), blockSize_(std::max<std::size_t>(blockSize, 1)) {}

void BackwardReader::Load(std::int64_t position) {
  const auto block = static_cast<std::int64_t>(blockSize_);
  const std::int64_t start = position / block * block;
  const std::int64_t end = std::min(start + block, size_);
  if (onBlockLoad_) onBlockLoad_(start);
  if (std::exchange(aheadStart_, -1) == start) {
    ahead_->Next();
    std::swap(block_, aheadBlock_);
  } else {
    if (ahead_ != nullptr) ahead_->Discard();
    block_.resize(static_cast<std::size_t>(end - start));
    ReadExactlyAt(file_, start, block_);
  }
  blockStart_ = start;
  blockEnd_ = end;
  AskForBlockBefore();
  if (onBlockRead_) onBlockRead_(start, block_);
}

void BackwardReader::ReadAheadBackwards() {
  if (ahead_ == nullptr) ahead_ = std::make_unique<ReadAhead>(file_);
}

void BackwardReader::AskForBlockBefore() {
  if (ahead_ == nullptr || blockStart_ == 0 || blockEnd_ == 0) return;
  aheadStart_ = blockStart_ - static_cast<std::int64_t>(blockSize_);
  aheadBlock_.resize(blockSize_);
  ahead_->Request(aheadBlock_, aheadStart_);
}

std::optional<unsigned char> BackwardReader::ByteAt(std::int64_t position) {
  if (position < 0 || position >= size_) return std::nullopt;
  if (position < blockStart_ || position >= blockEnd_) Load(position);
  return static_cast<unsigned char>(block_[static_cast<std::size_t>(position - blockStart_)]);
}

std::span<const char> BackwardReader::BlockUpTo(std::int64_t position) {
  if (position < blockStart_ || position >= blockEnd_) Load(position);
  return std::span<const char>(block_).first(static_cast<std::size_t>(position - blockStart_ + 1));
}

std::span<const char> BackwardReader::BytesOf(std::int64_t begin, std::int64_t end, std::vector<char>& scratch) {
  if (begin >= blockStart_ && end <= blockEnd_)
    return std::span<const char>(block_).subspan(static_cast<std::size_t>(begin - blockStart_), static_cast<std::size_t>(end - begin));
  scratch.resize(static_cast<std::size_t>(end - begin));
  ReadExactlyAt(file_, begin, scratch);
  return scratch;
}

}  // namespace quillon
