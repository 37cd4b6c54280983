#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

#include "fileio/backward_reader.h"
#include "modes/run_observer.h"

namespace quillon {

struct EngineTuning {
  std::size_t BlockSize = kDefaultBlockSize;
  // Input bytes between two progress reports; 0 chooses about a thousand reports a run.
  std::int64_t ProgressStep = 0;

  // The block size the modes work in: blocks of no bytes would never get through the input.
  [[nodiscard]] std::size_t WorkingBlockSize() const noexcept { return std::max<std::size_t>(BlockSize, 1); }
};

// What a mode needs for one run.
struct ModeContext {
  std::string InputPath;
  // The file that receives the result; it is replaced only once the result is complete.
  std::string OutputPath;
  RunObserver& Observer;
  std::stop_token Stop;
  EngineTuning Tuning;
  // When set (>= 0), the result is written in order to this open descriptor (a pipe, a
  // terminal, standard output) instead, and OutputPath only names it in messages. The run
  // does not close it.
  int OutputStream = -1;
  // Reads even a UTF-8 text as bytes.
  bool ForceBytes = false;
};

// Thrown when a run is stopped from outside (the window closing); it is not an error to report.
class RunCancelled : public std::exception {
 public:
  [[nodiscard]] const char* what() const noexcept override { return "the run was stopped"; }
};

}  // namespace quillon
