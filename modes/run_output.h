#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <stop_token>
#include <thread>

#include "modes/mode_context.h"
#include "modes/output_room.h"
#include "modes/run_files.h"

namespace quillon {

// Where a mode puts its output: a room it is built in, whose settled part is written to the
// output file (or stream) and passed to the run's observer. The output is written by a thread
// of its own, so that producing it and writing it overlap.
class RunOutput {
 public:
  RunOutput(RunFiles& files, const ModeContext& context, std::size_t capacity);
  RunOutput(const RunOutput&) = delete;
  RunOutput& operator=(const RunOutput&) = delete;
  ~RunOutput();

  [[nodiscard]] char* Room() noexcept { return room_.Room().data(); }

  // The first `end` bytes are final: hands them to the writer. Throws RunCancelled when the
  // run has been asked to stop, and the writer's error if it failed.
  void Settle(std::size_t end);

  // Settles the first `end` bytes, waits until they are written, and puts the file in place
  // of the output.
  void Finish(std::size_t end);

 private:
  void WriteSettled(const std::stop_token& writerStop);
  void Write(std::size_t from, std::size_t to);
  void RethrowWriterFailure();

  ReplacementFile* file_;
  int stream_;
  std::string shownPath_;
  RunObserver& observer_;
  std::stop_token stop_;
  OutputRoom room_;

  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::size_t settled_ = 0;
  std::size_t written_ = 0;
  bool finishing_ = false;
  std::exception_ptr writerFailure_;
  std::jthread writer_;  // last: it must stop before the members it uses go away
};

}  // namespace quillon
