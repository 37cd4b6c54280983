#include "bench/targets.h"

namespace quillon::bench {

double TimeTargetFor(RevertMode mode) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      return 1.3;
    case RevertMode::LineKeep:
    case RevertMode::RevertLine:
      return 2.5;
  }
  return 0;
}

double MemoryTargetMiB(std::uint64_t echoBytes) { return static_cast<double>(echoBytes) / (1 << 20) + kMemoryAllowanceMiB; }

}  // namespace quillon::bench
