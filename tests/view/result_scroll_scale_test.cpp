#include "resultview/result_scroll_scale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace quillon {
namespace {

TEST(ScrollScaleTest, BarValueIsThePositionWithinTheBarLimit) {
  const ScrollScale scale(1000);
  EXPECT_FALSE(scale.scaled());
  EXPECT_EQ(scale.BarMaximum(), 1000);
  EXPECT_EQ(scale.ToBar(0), 0);
  EXPECT_EQ(scale.ToBar(537), 537);
  EXPECT_EQ(scale.ToBar(5000), 1000);
  EXPECT_EQ(scale.FromBar(537), 537u);
  EXPECT_EQ(scale.FromBar(-3), 0u);
  EXPECT_EQ(scale.FromBar(2000), 1000u);
  EXPECT_EQ(scale.BarSpan(40), 40);
  EXPECT_EQ(scale.BarSpan(0), 1);
  EXPECT_EQ(ScrollScale(0).BarMaximum(), 0);
}

TEST(ScrollScaleTest, PositionsPastIntMaxAreScaledOntoTheBar) {
  for (const std::uint64_t maximum : {std::uint64_t{INT_MAX} + 1, std::uint64_t{5'000'000'000}, std::uint64_t{1} << 62, UINT64_MAX}) {
    SCOPED_TRACE(maximum);
    const ScrollScale scale(maximum);
    ASSERT_TRUE(scale.scaled());
    EXPECT_LE(scale.BarMaximum(), INT_MAX);
    EXPECT_EQ(scale.ToBar(0), 0);
    EXPECT_EQ(scale.ToBar(maximum), scale.BarMaximum());
    EXPECT_EQ(scale.FromBar(0), 0u);
    EXPECT_EQ(scale.FromBar(scale.BarMaximum()), maximum);
    EXPECT_EQ(scale.ToBar(maximum / 2), scale.BarMaximum() / 2);
    // Every bar value stands for a position that maps back onto it, in order.
    std::uint64_t previous = 0;
    for (const int value : {1, 2, 1000, 123'456'789, scale.BarMaximum() - 1}) {
      const std::uint64_t position = scale.FromBar(value);
      EXPECT_GT(position, previous);
      EXPECT_EQ(scale.ToBar(position), value);
      previous = position;
    }
    // A page of a million lines is a step of at least one.
    EXPECT_GE(scale.BarSpan(1'000'000), 1);
    EXPECT_EQ(scale.BarSpan(maximum), scale.BarMaximum());
  }
}

TEST(ScrollScaleTest, ASmallerBarLimitScalesSooner) {
  const ScrollScale scale(1000, 100);
  ASSERT_TRUE(scale.scaled());
  EXPECT_EQ(scale.BarMaximum(), 100);
  EXPECT_EQ(scale.ToBar(500), 50);
  EXPECT_EQ(scale.FromBar(50), 500u);
  EXPECT_EQ(scale.FromBar(100), 1000u);
  EXPECT_EQ(scale.BarSpan(40), 4);
  EXPECT_FALSE(ScrollScale(100, 100).scaled());
  EXPECT_EQ(ScrollScale(100, 0).BarMaximum(), 1) << "a limit of at least one step";
}

}  // namespace
}  // namespace quillon
