#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "fileio/backward_reader.h"
#include "fileio/file_handle.h"
#include "modes/run_observer.h"

namespace quillon {

struct EngineTuning {
  std::size_t BlockSize = kDefaultBlockSize;
  // Input bytes between two progress reports; 0 chooses about a thousand reports a run.
  std::int64_t ProgressStep = 0;
  // Pieces of UTF-8 text, and blocks of lines, of at least this many bytes are cut, at places
  // where the parts do not depend on each other, into parts of at least half of it that two
  // threads share out. Below it, a handover between threads costs more than it saves.
  std::size_t SplitMinimum = std::size_t{64} << 10;
  // A run on a file guesses its encoding from this many bytes at each end and confirms the
  // guess as it goes; a file of at most twice as many is examined whole before the run.
  std::int64_t EncodingProbe = std::int64_t{256} << 10;

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
  // When set, the result is written in order to this open stream (a pipe, a terminal,
  // standard output) instead, and OutputPath only names it in messages. The run does not
  // close it.
  std::optional<NativeHandle> OutputStream{};
  // Reads even a UTF-8 text as bytes.
  bool ForceBytes = false;
  // When set, the input is this open stream (standard input) instead, and InputPath only
  // names it in messages. A stream that cannot be read at positions is copied first.
  std::optional<NativeHandle> InputStream{};
};

// Thrown when a run is stopped from outside (the window closing); it is not an error to report.
class RunCancelled : public std::exception {
 public:
  [[nodiscard]] const char* what() const noexcept override { return "the run was stopped"; }
};

}  // namespace quillon
