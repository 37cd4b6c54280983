#pragma once

#include <cstdint>

namespace quillon {

// Where the CRs and the LFs are in 64 bytes: bit i stands for byte i.
struct BreakMasks {
  std::uint64_t cr;
  std::uint64_t lf;
};

// Reads exactly 64 bytes from `at`.
BreakMasks LoadBreakMasks(const char* at) noexcept;

// The bytes that start a line break: every CR, and every LF that does not follow a CR (the LF
// of a CR LF belongs to the break its CR started). `crBeforeFirst` tells whether the byte
// before the 64 is a CR.
constexpr std::uint64_t BreakStarts(BreakMasks masks, bool crBeforeFirst) noexcept {
  const std::uint64_t crBefore = masks.cr << 1 | static_cast<std::uint64_t>(crBeforeFirst);
  return masks.cr | (masks.lf & ~crBefore);
}

}  // namespace quillon
