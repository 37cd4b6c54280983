#include "modes/line_walk_progress.h"

#include "modes/mode_context.h"

namespace quillon {

void LineWalkProgress::ReadBackTo(std::int64_t position) {
  meter_.Report(size_ - lineEnd_ + (lineEnd_ - position) / 2);
  ThrowIfStopped();
}

void LineWalkProgress::CopiedUpTo(std::int64_t lineBegin, std::int64_t position) {
  meter_.Report(size_ - lineEnd_ + (lineEnd_ - lineBegin) / 2 + (position - lineBegin) / 2);
  ThrowIfStopped();
}

void LineWalkProgress::ThrowIfStopped() const {
  if (stop_.stop_requested()) throw RunCancelled();
}

}  // namespace quillon
