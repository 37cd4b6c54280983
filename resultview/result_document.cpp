#include "resultview/result_document.h"

#include <algorithm>
#include <utility>

namespace quillon {

ResultDocument::ResultDocument(std::size_t spacing) : spacing_(spacing), written_(std::make_shared<Written>(spacing)) {}

void ResultDocument::Reset() {
  StartOver();
  shown_.reset();
  cachedFile_.reset();
  cache_.Open(nullptr);
  utf16_.store(false, std::memory_order_release);
  utf16Reader_.Forget();
}

void ResultDocument::StartOver() {
  auto fresh = std::make_shared<Written>(spacing_);
  const std::lock_guard lock(fileMutex_);
  file_.reset();
  written_ = std::move(fresh);
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

void ResultDocument::SetUtf16Text(unicode::Utf16Order order) {
  utf16Text_.Reset(order);
  utf16_.store(true, std::memory_order_release);
  written_->utf8.store(true, std::memory_order_release);
}

void ResultDocument::OutputOpened(FileHandle output) {
  auto file = std::make_shared<const FileHandle>(std::move(output));
  const std::lock_guard lock(fileMutex_);
  file_ = std::move(file);
}

void ResultDocument::OutputWritten(std::span<const char> bytes) {
  if (utf16_.load(std::memory_order_acquire)) bytes = utf16Text_.Append(bytes);
  Written& written = *written_;
  // The cells first: a reader that sees the lines sees their cells too.
  if (written.utf8.load(std::memory_order_acquire)) written.cellIndex.Append(bytes);
  if (!written.index.PublishNext()) written.index.Append(bytes);
}

void ResultDocument::OutputComing(std::span<const char> bytes) {
  // UTF-16 output is indexed as the UTF-8 text it stands for, once written.
  if (!utf16_.load(std::memory_order_acquire)) written_->index.Prepare(bytes);
}

ResultLines ResultDocument::Lines() {
  {
    const std::lock_guard lock(fileMutex_);
    shown_ = written_;
    if (file_ != cachedFile_) {
      cachedFile_ = file_;
      cache_.Open(cachedFile_);
    }
  }
  const ResultIndex& index = shown_->index;
  const ResultCellIndex& cells = shown_->cellIndex;
  // The index is taken first: the bytes it counts are in the file by then, unless the file
  // has lost them since.
  std::uint64_t size = index.Indexed().size;
  const std::uint64_t fileSize = cache_.FileSize().value_or(0);
  if (utf16_.load(std::memory_order_acquire)) {
    // The index counts the UTF-8 text the file's UTF-16 stands for.
    if (fileSize < lastFileSize_) utf16Reader_.Forget();
    lastFileSize_ = fileSize;
    cache_.Limit(fileSize);
    size = std::min(size, utf16Text_.Utf8SizeWithin(fileSize));
    return {index, &cells, utf16Reader_, size};
  }
  size = std::min(size, fileSize);
  cache_.Limit(size);
  return {index, shown_->utf8.load(std::memory_order_acquire) ? &cells : nullptr, cache_, size};
}

std::size_t ResultDocument::MemoryBytes() const {
  std::shared_ptr<const Written> written;
  {
    const std::lock_guard lock(fileMutex_);
    written = written_;
  }
  return written->index.MemoryBytes() + written->cellIndex.MemoryBytes() + cache_.MemoryBytes() + utf16Text_.MemoryBytes() +
         utf16Reader_.MemoryBytes();
}

}  // namespace quillon
