#include "modes/output_writer.h"

#include <algorithm>
#include <utility>

#include "fileio/block_io.h"
#include "fileio/file_error.h"

namespace quillon {

namespace {
// A buffer being filled, two being read into ahead of it, one being written, and two to spare
// so that no side waits for another on every buffer.
constexpr std::size_t kBufferCount = 6;
}  // namespace

OutputWriter::OutputWriter(RunFiles& files, const ModeContext& context, std::size_t bufferSize)
    : file_(files.Output()),
      stream_(context.OutputStream),
      shownPath_(context.OutputPath),
      observer_(context.Observer),
      stop_(context.Stop),
      bufferSize_(std::max<std::size_t>(bufferSize, 1)),
      storage_(std::make_unique_for_overwrite<char[]>(bufferSize_ * kBufferCount)) {
  for (std::size_t i = 0; i < kBufferCount; ++i) free_.push_back(storage_.get() + i * bufferSize_);
  if (const std::optional<unicode::Utf16Order> order = files.OutputUtf16()) utf16_.emplace(*order, bufferSize_);
  if (file_ != nullptr) {
    // The observer reads the result back through a descriptor of its own; without one (no
    // descriptors left) it could show nothing, so the run says why instead.
    FileHandle forObserver = file_->OpenReader();
    if (!forObserver.valid()) throw FileError("Cannot write", shownPath_, forObserver.error());
    observer_.OutputOpened(std::move(forObserver));
  }
  writer_ = std::jthread([this](const std::stop_token& writerStop) { WritePieces(writerStop); });
}

OutputWriter::~OutputWriter() {
  writer_.request_stop();
  changed_.notify_all();
}

void OutputWriter::WritePieces(const std::stop_token& writerStop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, writerStop, [&] { return !handed_.empty() || finishing_; });
    if (writerStop.stop_requested() || handed_.empty()) return;
    const Piece piece = handed_.front();
    handed_.pop_front();
    writing_ = true;
    lock.unlock();
    try {
      Write(piece.bytes);
    } catch (...) {
      lock.lock();
      writing_ = false;
      writerFailure_ = std::current_exception();
      changed_.notify_all();
      return;
    }
    lock.lock();
    writing_ = false;
    free_.push_back(piece.buffer);
    changed_.notify_all();
  }
}

void OutputWriter::Write(std::span<const char> bytes) {
  if (utf16_) bytes = utf16_->Encode(bytes);
  if (bytes.empty()) return;
  if (file_ != nullptr)
    WriteAt(file_->handle(), written_, bytes);
  else
    WriteToStream(*stream_, shownPath_, bytes);
  written_ += static_cast<std::int64_t>(bytes.size());
  observer_.OutputWritten(bytes);
}

void OutputWriter::ThrowIfStoppedOrFailed() {
  if (stop_.stop_requested()) throw RunCancelled();
  if (writerFailure_) std::rethrow_exception(writerFailure_);
}

std::span<char> OutputWriter::Take() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, stop_, [&] { return !free_.empty() || writerFailure_ != nullptr; });
  ThrowIfStoppedOrFailed();
  char* const buffer = free_.back();
  free_.pop_back();
  return {buffer, bufferSize_};
}

void OutputWriter::Hand(std::span<char> buffer, std::span<const char> bytes) {
  if (!utf16_ && !bytes.empty()) observer_.OutputComing(bytes);
  std::lock_guard lock(mutex_);
  handed_.push_back({buffer.data(), bytes});
  changed_.notify_all();
  ThrowIfStoppedOrFailed();
}

void OutputWriter::Drop(std::span<char> buffer) {
  std::lock_guard lock(mutex_);
  free_.push_back(buffer.data());
  changed_.notify_all();
}

void OutputWriter::Finish() {
  {
    std::unique_lock lock(mutex_);
    finishing_ = true;
    changed_.notify_all();
    changed_.wait(lock, stop_, [&] { return (handed_.empty() && !writing_) || writerFailure_ != nullptr; });
    ThrowIfStoppedOrFailed();
  }
  writer_.join();
  if (file_ != nullptr) file_->Commit();
}

void OutputAppender::StartNewBuffer() {
  if (!buffer_.empty()) writer_.Hand(buffer_, used_);
  buffer_ = {};  // handed over: a Take() that throws must leave nothing for Finish() to hand again
  buffer_ = writer_.Take();
  used_ = 0;
}

void OutputAppender::AppendAcrossBuffers(std::span<const char> bytes) {
  while (!bytes.empty()) {
    if (used_ == buffer_.size()) StartNewBuffer();
    const std::size_t length = std::min(bytes.size(), buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, bytes.data(), length);
    used_ += length;
    bytes = bytes.subspan(length);
  }
}

void OutputAppender::Finish() {
  if (!buffer_.empty()) writer_.Hand(std::exchange(buffer_, {}), used_);
  writer_.Finish();
}

void HandCopies(OutputWriter& output, std::span<const char> bytes) {
  while (!bytes.empty()) {
    const std::span<char> buffer = output.Take();
    const std::size_t count = std::min(buffer.size(), bytes.size());
    std::memcpy(buffer.data(), bytes.data(), count);
    output.Hand(buffer, count);
    bytes = bytes.subspan(count);
  }
}

}  // namespace quillon
