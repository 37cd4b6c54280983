#pragma once

#include <cstdint>
#include <stop_token>
#include <utility>

#include "modes/progress_meter.h"

namespace quillon {

// Progress of a walk over the input's lines from its end, checked for a stop request as it
// goes. A line is handled in two passes, read back to its start and then copied forwards;
// each pass counts for half of the line's bytes, so that the bar moves through a line of any
// length and never goes back.
class LineWalkProgress {
 public:
  LineWalkProgress(ProgressMeter& meter, std::int64_t size, std::stop_token stop)
      : meter_(meter), size_(size), stop_(std::move(stop)) {}

  // Everything from `lineEnd` on is handled; the line that ends there is next.
  void LineEndsAt(std::int64_t lineEnd) {
    lineEnd_ = lineEnd;
    meter_.Report(size_ - lineEnd);
  }

  // The current line has been read back as far as `position`. Throws RunCancelled when the
  // run has been asked to stop.
  void ReadBackTo(std::int64_t position);

  // The line that starts at `lineBegin` has been copied up to `position`. Throws RunCancelled
  // when the run has been asked to stop.
  void CopiedUpTo(std::int64_t lineBegin, std::int64_t position);

 private:
  void ThrowIfStopped() const;

  ProgressMeter& meter_;
  std::int64_t size_;
  std::stop_token stop_;
  std::int64_t lineEnd_ = 0;
};

}  // namespace quillon
