#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

#include "fileio/backward_reader.h"
#include "window/result_text.h"
#include "window/window_surface.h"

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
  std::string OutputPath;
  ResultText& Result;
  ProgressSink& Progress;
  std::stop_token Stop;
  EngineTuning Tuning;
};

// Thrown when a run is stopped from outside (the window closing); it is not an error to report.
class RunCancelled : public std::exception {
 public:
  [[nodiscard]] const char* what() const noexcept override { return "the run was stopped"; }
};

}  // namespace quillon
