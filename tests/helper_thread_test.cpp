#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>
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

TEST(HelperThread, SharesOutEachPieceExactlyOnceWhateverTheCount) {
  HelperThread helper;
  for (std::size_t count = 0; count < 40; ++count) {
    std::vector<std::atomic<int>> runs(count);
    helper.ShareOut(count, [&](std::size_t i) {
      runs.at(i).fetch_add(1);
      if (i % 3 == 0) std::this_thread::yield();
    });
    for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i].load(), 1) << "piece " << i << " of " << count;
  }
  EXPECT_THROW(helper.ShareOut(5, [](std::size_t i) { if (i == 4) throw std::runtime_error("piece"); }), std::runtime_error);
}

TEST(HelperThread, CutsIntoPiecesOfAtLeastHalfTheSplitMinimum) {
  EXPECT_EQ(HelperThread::PieceCount(1000, 1024), 1u);
  EXPECT_EQ(HelperThread::PieceCount(1024, 1024), 2u);
  EXPECT_EQ(HelperThread::PieceCount(2047, 1024), 3u);
  EXPECT_EQ(HelperThread::PieceCount(std::size_t{1} << 20, 1024), HelperThread::kMostPieces);
  EXPECT_EQ(HelperThread::PieceCount(1, 0), 1u);
}

}  // namespace
}  // namespace quillon
