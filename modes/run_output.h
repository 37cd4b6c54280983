#pragma once

#include <cstddef>
#include <stop_token>

#include "fileio/replacement_file.h"
#include "window/result_text.h"

namespace quillon {

// Where a mode puts its output: straight into the result text's room, from which the settled
// part is shown and written to the output file, so each byte is produced once.
class RunOutput {
 public:
  RunOutput(ResultText& result, ReplacementFile& file, std::size_t capacity, std::stop_token stop);

  [[nodiscard]] char* Room() const noexcept { return room_; }

  // The first `end` bytes are final: shows them and writes those the file does not have yet.
  // Throws RunCancelled when the run has been asked to stop.
  void Settle(std::size_t end);

  // Settles the first `end` bytes and puts the file in place of the output.
  void Finish(std::size_t end);

 private:
  ResultText& result_;
  ReplacementFile& file_;
  std::stop_token stop_;
  char* room_;
  std::size_t written_ = 0;
};

}  // namespace quillon
