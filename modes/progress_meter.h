#pragma once

#include <cstdint>

#include "modes/run_observer.h"

namespace quillon {

// Reports the share of the input handled, as a percentage never above 100, at most once per
// `step` bytes so that reporting costs nothing next to the work.
class ProgressMeter {
 public:
  ProgressMeter(RunObserver& sink, std::int64_t total, std::int64_t step);

  void Report(std::int64_t handled) {
    if (handled >= next_) Send(handled);
  }

 private:
  void Send(std::int64_t handled);

  RunObserver& sink_;
  std::int64_t total_;
  std::int64_t step_;
  std::int64_t next_ = 0;
};

}  // namespace quillon
