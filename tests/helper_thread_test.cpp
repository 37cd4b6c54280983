#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "modes/helper_thread.h"

namespace quillon {
namespace {

TEST(HelperThread, RunsBothSharesOnTheirThreadsEachTime) {
  HelperThread helper;
  for (int round = 0; round < 100; ++round) {
    std::thread::id asideThread;
    int sum = 0;
    int here = 0;
    helper.RunBeside([&] { asideThread = std::this_thread::get_id();
      sum += round; }, [&] { here = round; });
    ASSERT_EQ(sum, round);
    ASSERT_EQ(here, round);
    if (std::thread::hardware_concurrency() > 1) {
      ASSERT_NE(asideThread, std::this_thread::get_id());
    }
  }
}

TEST(HelperThread, ThrowsWhatEitherShareThrewAndStaysUsable) {
  HelperThread helper;
  bool hereRan = false;
  EXPECT_THROW(helper.RunBeside([] { throw std::runtime_error("aside"); }, [&] { hereRan = true; }), std::runtime_error);
  EXPECT_TRUE(hereRan);
  bool asideRan = false;
  EXPECT_THROW(helper.RunBeside([&] { asideRan = true; }, [] { throw std::logic_error("here"); }), std::logic_error);
  EXPECT_TRUE(asideRan);
  int runs = 0;
  helper.RunBeside([&] { ++runs; }, [] {});
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace quillon
