#pragma once

#include <algorithm>
#include <cstdint>

namespace quillon {

// Lets an int scroll bar stand for positions 0 to `maximum` of any 64-bit size. Up to the bar
// limit the bar's value is the position; past it the bar's range is 0 to the limit and a value
// stands for the position in the same proportion.
class ScrollScale {
 public:
  // The largest limit, which leaves room in an int for a value plus a page step.
  static constexpr std::uint64_t kBarLimit = std::uint64_t{1} << 30;

  // `barLimit` is taken into 1 to kBarLimit.
  explicit ScrollScale(std::uint64_t maximum = 0, std::uint64_t barLimit = kBarLimit) noexcept
      : maximum_(maximum), limit_(std::clamp<std::uint64_t>(barLimit, 1, kBarLimit)) {}

  [[nodiscard]] std::uint64_t maximum() const noexcept { return maximum_; }
  [[nodiscard]] bool scaled() const noexcept { return maximum_ > limit_; }

  [[nodiscard]] int BarMaximum() const noexcept;
  // The bar value for `position` (taken as `maximum` when past it).
  [[nodiscard]] int ToBar(std::uint64_t position) const noexcept;
  // The position a bar value stands for (values outside the bar's range are clamped).
  [[nodiscard]] std::uint64_t FromBar(int value) const noexcept;
  // The bar steps that `positions` positions make, at least 1: for the bar's page step.
  [[nodiscard]] int BarSpan(std::uint64_t positions) const noexcept;

 private:
  std::uint64_t maximum_;
  std::uint64_t limit_;
};

}  // namespace quillon
