#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <stop_token>
#include <thread>

#include "fileio/replacement_file.h"
#include "window/result_text.h"

namespace quillon {

// Where a mode puts its output: straight into the result text's room, from which the settled
// part is shown and written to the output file, so each byte is produced once. The file is
// written by a thread of its own, so that producing the output and writing it overlap.
class RunOutput {
 public:
  RunOutput(ResultText& result, ReplacementFile& file, std::size_t capacity, std::stop_token stop);
  RunOutput(const RunOutput&) = delete;
  RunOutput& operator=(const RunOutput&) = delete;
  ~RunOutput();

  [[nodiscard]] char* Room() const noexcept { return room_; }

  // The first `end` bytes are final: shows them and hands them to the writer. Throws
  // RunCancelled when the run has been asked to stop, and the writer's error if it failed.
  void Settle(std::size_t end);

  // Settles the first `end` bytes, waits until they are written, and puts the file in place
  // of the output.
  void Finish(std::size_t end);

 private:
  void WriteSettled(const std::stop_token& writerStop);
  void RethrowWriterFailure();

  ResultText& result_;
  ReplacementFile& file_;
  std::stop_token stop_;
  char* room_;

  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::size_t settled_ = 0;
  std::size_t written_ = 0;
  bool finishing_ = false;
  std::exception_ptr writerFailure_;
  std::jthread writer_;  // last: it must stop before the members it uses go away
};

}  // namespace quillon
