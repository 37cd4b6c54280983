#include "modes/progress_meter.h"

#include <algorithm>

namespace quillon {

ProgressMeter::ProgressMeter(RunObserver& sink, std::int64_t total, std::int64_t step)
    : sink_(sink), total_(total), step_(step > 0 ? step : std::max<std::int64_t>(total / 1000, 1)) {}

void ProgressMeter::Send(std::int64_t handled) {
  const double percent = static_cast<double>(handled) / static_cast<double>(total_) * 100.0;
  sink_.SetProgressValue(static_cast<float>(std::min(percent, 100.0)));
  next_ = handled + step_;
}

}  // namespace quillon
