#include "modes/run_output.h"

#include <algorithm>

#include "fileio/block_io.h"
#include "modes/mode_context.h"

namespace quillon {

namespace {
// Large enough that a write costs little per byte, small enough to keep the writer close
// behind the producer.
constexpr std::size_t kLargestWrite = std::size_t{4} << 20;
}  // namespace

RunOutput::RunOutput(RunFiles& files, const ModeContext& context, std::size_t capacity)
    : file_(files.Output()),
      stream_(context.OutputStream),
      shownPath_(context.OutputPath),
      observer_(context.Observer),
      stop_(context.Stop),
      room_(capacity) {
  if (file_ != nullptr) observer_.OutputOpened(DuplicateHandle(file_->handle()));
  writer_ = std::jthread([this](const std::stop_token& writerStop) { WriteSettled(writerStop); });
}

RunOutput::~RunOutput() {
  writer_.request_stop();
  changed_.notify_all();
}

void RunOutput::WriteSettled(const std::stop_token& writerStop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, writerStop, [&] { return settled_ > written_ || finishing_; });
    if (writerStop.stop_requested() || writerFailure_) return;
    if (settled_ == written_) {
      if (finishing_) return;
      continue;
    }
    const std::size_t from = written_;
    const std::size_t to = std::min(settled_, from + kLargestWrite);
    lock.unlock();
    try {
      Write(from, to);
    } catch (...) {
      lock.lock();
      writerFailure_ = std::current_exception();
      changed_.notify_all();
      return;
    }
    lock.lock();
    written_ = to;
    changed_.notify_all();
  }
}

void RunOutput::Write(std::size_t from, std::size_t to) {
  const std::span<const char> bytes(Room() + from, to - from);
  if (file_ != nullptr)
    WriteAt(file_->handle(), static_cast<std::int64_t>(from), bytes);
  else
    WriteToStream(stream_, shownPath_, bytes);
  observer_.OutputWritten(bytes);
}

void RunOutput::RethrowWriterFailure() {
  if (writerFailure_) std::rethrow_exception(writerFailure_);
}

void RunOutput::Settle(std::size_t end) {
  if (stop_.stop_requested()) throw RunCancelled();
  std::lock_guard lock(mutex_);
  RethrowWriterFailure();
  settled_ = end;
  changed_.notify_all();
}

void RunOutput::Finish(std::size_t end) {
  Settle(end);
  {
    std::unique_lock lock(mutex_);
    finishing_ = true;
    changed_.notify_all();
    changed_.wait(lock, stop_, [&] { return written_ == settled_ || writerFailure_ != nullptr; });
    if (stop_.stop_requested()) throw RunCancelled();
    RethrowWriterFailure();
  }
  writer_.join();
  if (file_ != nullptr) file_->Commit();
}

}  // namespace quillon
