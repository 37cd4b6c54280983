#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "fileio/file_handle.h"
#include "resultview/file_block_cache.h"
#include "resultview/result_cell_index.h"
#include "resultview/result_index.h"
#include "resultview/result_lines.h"
#include "resultview/utf16_result_text.h"

namespace quillon {

// The result of the latest run as the result view reads it: from the run's output file,
// through a descriptor of its own, so that memory does not grow with the result beyond its
// sparse line index. The run indexes the bytes as it writes them; the view reads them back
// from the file. What another program does to the file later cannot make the view read past
// its end: a shorter file shows as a shorter text, and a file renamed over it does not change
// what the descriptor reads.
class ResultDocument {
 public:
  explicit ResultDocument(std::size_t spacing = ResultIndex::kDefaultSpacing);
  ResultDocument(const ResultDocument&) = delete;
  ResultDocument& operator=(const ResultDocument&) = delete;

  // The run's side. Reset before a run starts, on the window's thread; the rest from the
  // run's threads, one at a time.
  void Reset();
  // Drops what the run has written so far, while the view may be reading it: the run starts
  // its result over in a new file, which OutputOpened() then names. Not for UTF-16 text.
  void StartOver();
  // Whether the result is UTF-8 text, shown by grapheme clusters in cells of their display
  // width; otherwise (the default after a reset) each byte is a character through
  // Windows-1252. Before the output opens.
  void SetUtf8Text(bool utf8) noexcept { written_->utf8.store(utf8, std::memory_order_release); }
  // The result is UTF-16 text of `order`, shown as UTF-8 text would be. Before the output opens.
  void SetUtf16Text(unicode::Utf16Order order);
  // The file the result goes to, open for reading.
  void OutputOpened(FileHandle output);
  // The next bytes of the result, once they are in the file.
  void OutputWritten(std::span<const char> bytes);
  // The same bytes before they are written, from another thread: their lines are then found
  // there, and only counted in once the bytes are written.
  void OutputComing(std::span<const char> bytes);

  // The view's side, from one thread. Counts the resets, so that the view can tell a new
  // result from a longer one.
  [[nodiscard]] std::uint64_t generation() const noexcept { return generation_.load(std::memory_order_acquire); }
  // The lines as far as the run has written them and the file still holds them. The lines
  // read through the document: they are valid until the next call.
  [[nodiscard]] ResultLines Lines();
  // Whether a read since the last call found less in the file than the lines expected: the
  // file has become shorter and Lines() will show that.
  [[nodiscard]] bool FoundShorter() noexcept { return cache_.TakeShortRead(); }

  // Bytes the document holds (the index and the cache), for measuring.
  [[nodiscard]] std::size_t MemoryBytes() const;

 private:
  // What the run has written, indexed: replaced whole when the run starts over, so that the
  // view keeps reading the one it holds until it asks again.
  struct Written {
    explicit Written(std::size_t spacing) : index(spacing), cellIndex(spacing) {}
    ResultIndex index;
    ResultCellIndex cellIndex;
    std::atomic<bool> utf8{false};
  };

  std::size_t spacing_;
  // Swapped only under fileMutex_, and only while no output is being written.
  std::shared_ptr<Written> written_;
  std::shared_ptr<const Written> shown_;  // the view's own: what the last Lines() read
  std::atomic<bool> utf16_{false};
  FileBlockCache cache_;
  Utf16ResultText utf16Text_;
  Utf16ResultText::Reader utf16Reader_{utf16Text_, cache_};
  std::uint64_t lastFileSize_ = 0;  // the view's own
  std::shared_ptr<const FileHandle> cachedFile_;
  mutable std::mutex fileMutex_;
  std::shared_ptr<const FileHandle> file_;
  std::atomic<std::uint64_t> generation_{0};
};

}  // namespace quillon
