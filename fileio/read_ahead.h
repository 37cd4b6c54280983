#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <span>
#include <stop_token>
#include <thread>
#include <vector>

#include "fileio/file_handle.h"

namespace quillon {

// Reads blocks of a file on a thread of its own while the caller works on the blocks read
// before, so that copying the input out of the page cache overlaps the work done on it.
class ReadAhead {
 public:
  explicit ReadAhead(const FileHandle& file);
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  ~ReadAhead();

  // Asks for `into` to be filled from `offset`; the bytes must lie inside the file.
  void Request(std::span<char> into, std::int64_t offset);

  // Waits for the oldest request still open and gives its bytes. Throws what its read threw.
  std::span<char> Next();

  // Waits for every open request, forgets what they read and gives back where they read to.
  std::vector<std::span<char>> Discard();

 private:
  struct Block {
    std::span<char> into;
    std::int64_t offset;
    bool done = false;
    std::exception_ptr failure;
  };

  void ReadBlocks(const std::stop_token& stop);

  const FileHandle& file_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::deque<Block> blocks_;
  std::jthread reader_;  // last: it must stop before the members it uses go away
};

}  // namespace quillon
