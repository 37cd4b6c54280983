#include "resultview/result_scroll_scale.h"

#include <algorithm>

namespace quillon {

namespace {

__extension__ using Wide = unsigned __int128;

// a * b / c rounded to the nearest, without overflow; c > 0.
std::uint64_t ScaleRounded(std::uint64_t a, std::uint64_t b, std::uint64_t c) noexcept {
  return static_cast<std::uint64_t>((static_cast<Wide>(a) * b + c / 2) / c);
}

}  // namespace

int ScrollScale::BarMaximum() const noexcept { return static_cast<int>(std::min(maximum_, limit_)); }

int ScrollScale::ToBar(std::uint64_t position) const noexcept {
  position = std::min(position, maximum_);
  if (!scaled()) return static_cast<int>(position);
  return static_cast<int>(ScaleRounded(position, limit_, maximum_));
}

std::uint64_t ScrollScale::FromBar(int value) const noexcept {
  if (value <= 0) return 0;
  const auto bar = std::min(static_cast<std::uint64_t>(value), limit_);
  if (!scaled()) return std::min(bar, maximum_);
  return ScaleRounded(bar, maximum_, limit_);
}

int ScrollScale::BarSpan(std::uint64_t positions) const noexcept {
  const std::uint64_t span = scaled() ? ScaleRounded(std::min(positions, maximum_), limit_, maximum_) : std::min(positions, limit_);
  return static_cast<int>(std::max<std::uint64_t>(span, 1));
}

}  // namespace quillon
