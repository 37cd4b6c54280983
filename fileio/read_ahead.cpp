#include "fileio/read_ahead.h"

#include "fileio/block_io.h"

namespace quillon {

ReadAhead::ReadAhead(const FileHandle& file)
    : file_(file), reader_([this](const std::stop_token& stop) { ReadBlocks(stop); }) {}

ReadAhead::~ReadAhead() {
  reader_.request_stop();
  changed_.notify_all();
}

void ReadAhead::ReadBlocks(const std::stop_token& stop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    Block* open = nullptr;
    changed_.wait(lock, stop, [&] {
      for (Block& block : blocks_)
        if (!block.done) {
          open = &block;
          return true;
        }
      return false;
    });
    if (stop.stop_requested()) return;
    const std::span<char> into = open->into;
    const std::int64_t offset = open->offset;
    lock.unlock();
    std::exception_ptr failure;
    try {
      ReadExactlyAt(file_, offset, into);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    // Blocks are only ever added at the back, so `open` still points at this one.
    open->done = true;
    open->failure = failure;
    changed_.notify_all();
  }
}

void ReadAhead::Request(std::span<char> into, std::int64_t offset) {
  std::lock_guard lock(mutex_);
  blocks_.push_back({into, offset, false, nullptr});
  changed_.notify_all();
}

std::span<char> ReadAhead::Next() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return blocks_.front().done; });
  const Block block = blocks_.front();
  blocks_.pop_front();
  if (block.failure) std::rethrow_exception(block.failure);
  return block.into;
}

std::vector<std::span<char>> ReadAhead::Discard() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return blocks_.empty() || blocks_.back().done; });
  std::vector<std::span<char>> discarded;
  for (const Block& block : blocks_) discarded.push_back(block.into);
  blocks_.clear();
  return discarded;
}

}  // namespace quillon
