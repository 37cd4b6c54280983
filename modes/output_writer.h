#pragma once

#include <condition_variable>
#include <cstring>
#include <memory>
#include <cstddef>
#include <deque>
#include <optional>
#include <exception>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "modes/mode_context.h"
#include "modes/run_files.h"
#include "modes/utf16_output.h"

namespace quillon {

// Where a mode puts its output: a few buffers it fills one after another and hands over in
// order. A thread of its own writes each handed-over buffer to the output file (or stream),
// passes its bytes to the run's observer and gives the buffer back, so that producing and
// writing overlap and the result is never held whole in memory.
class OutputWriter {
 public:
  OutputWriter(RunFiles& files, const ModeContext& context, std::size_t bufferSize);
  OutputWriter(const OutputWriter&) = delete;
  OutputWriter& operator=(const OutputWriter&) = delete;
  ~OutputWriter();

  [[nodiscard]] std::size_t BufferSize() const noexcept { return bufferSize_; }

  // A free buffer of BufferSize() bytes, once the writer has given one back. Throws
  // RunCancelled when the run has been asked to stop, and the writer's error if it failed.
  std::span<char> Take();

  // Hands `bytes`, which lie in `buffer`, one Take() gave, to the writer; they follow
  // everything handed over before. Throws as Take() does.
  void Hand(std::span<char> buffer, std::span<const char> bytes);
  void Hand(std::span<char> buffer, std::size_t used) { Hand(buffer, buffer.first(used)); }

  // Gives back a buffer unused.
  void Drop(std::span<char> buffer);

  // Waits until everything handed over is written and puts the file in place of the output.
  void Finish();

 private:
  struct Piece {
    char* buffer;
    std::span<const char> bytes;
  };

  void WritePieces(const std::stop_token& writerStop);
  void Write(std::span<const char> bytes);
  void ThrowIfStoppedOrFailed();

  ReplacementFile* file_;
  std::optional<NativeHandle> stream_;
  std::string shownPath_;
  RunObserver& observer_;
  std::stop_token stop_;
  std::size_t bufferSize_;
  std::unique_ptr<char[]> storage_;
  std::int64_t written_ = 0;  // the writer thread's own
  std::optional<Utf16Output> utf16_;  // the writer thread's own: the result of UTF-16 text

  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::vector<char*> free_;
  std::deque<Piece> handed_;
  bool writing_ = false;
  bool finishing_ = false;
  std::exception_ptr writerFailure_;
  std::jthread writer_;  // last: it must stop before the members it uses go away
};

// Copies `bytes` into as many of the writer's buffers as they need and hands them over: for
// the few bytes that come from somewhere other than a buffer, such as a byte-order mark.
void HandCopies(OutputWriter& output, std::span<const char> bytes);

// Appends bytes of any length to an OutputWriter's buffers, handing each over once full.
class OutputAppender {
 public:
  explicit OutputAppender(OutputWriter& writer) : writer_(writer) {}
  OutputAppender(const OutputAppender&) = delete;
  OutputAppender& operator=(const OutputAppender&) = delete;

  void Append(std::span<const char> bytes) {
    if (bytes.empty()) return;
    if (bytes.size() <= buffer_.size() - used_) {
      std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
      used_ += bytes.size();
      return;
    }
    AppendAcrossBuffers(bytes);
  }

  // The free part of the current buffer, for a caller that writes into it directly and then
  // says how much it used with Advance().
  [[nodiscard]] std::span<char> Room() const noexcept { return buffer_.subspan(used_); }
  void Advance(std::size_t used) noexcept { used_ += used; }

  // Whether nothing is in the current buffer yet, so that a new one would not give more room.
  [[nodiscard]] bool HasFreshBuffer() const noexcept { return !buffer_.empty() && used_ == 0; }

  // Hands over the current buffer, if any, and takes a new one.
  void StartNewBuffer();

  // Hands over what is buffered and waits until the whole output is written.
  void Finish();

 private:
  void AppendAcrossBuffers(std::span<const char> bytes);

  OutputWriter& writer_;
  std::span<char> buffer_;
  std::size_t used_ = 0;
};

}  // namespace quillon
