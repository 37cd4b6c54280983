#include <algorithm>
#include <atomic>
#include <stop_token>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fileio/block_io.h"
#include "fileio/system_calls.h"
#include "tests/support/mode_runner.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::ReadWhole;
using testing::TempFolder;

constexpr std::size_t kBlock = 256;

// A short line, then one as long as 256 blocks, which Line keep can only take by reading
// back over many blocks and copying it.
std::string LongLine() {
  std::string line(kBlock * 256, 'q');
  line.front() = 'A';
  line.back() = 'Z';
  return line;
}

// Counts the bytes the positioned reads ask for once `stopped` is set.
class ReadsAfterStop {
 public:
  ReadsAfterStop() : saved_(ReplacePositionedCalls({CountingRead, SystemPositionedWrite})) {
    stopped = false;
    bytes = 0;
  }
  ReadsAfterStop(const ReadsAfterStop&) = delete;
  ReadsAfterStop& operator=(const ReadsAfterStop&) = delete;
  ~ReadsAfterStop() { ReplacePositionedCalls(saved_); }

  static inline std::atomic<bool> stopped{false};
  static inline std::atomic<std::size_t> bytes{0};

 private:
  static std::int64_t CountingRead(NativeHandle fd, void* buffer, std::size_t count, std::int64_t offset) {
    if (stopped) bytes += count;
    return SystemPositionedRead(fd, buffer, count, offset);
  }

  PositionedCalls saved_;
};

// A bar that asks the run to stop once it reaches `stopAt` percent, as a window closed
// during the run does.
class StoppingProgress : public RunObserver {
 public:
  explicit StoppingProgress(float stopAt) : stopAt_(stopAt) {}
  void SetProgressValue(float percent) override {
    values.push_back(percent);
    if (percent >= stopAt_ && !source.stop_requested()) {
      source.request_stop();
      ReadsAfterStop::stopped = true;
    }
  }

  std::stop_source source;
  std::vector<float> values;

 private:
  float stopAt_;
};

TEST(LineKeepLongLine, MovesTheBarWhileReadingTheLineBackAndWhileCopyingIt) {
  const testing::ModeRun run = testing::RunMode(RevertMode::LineKeep, "head\n" + LongLine(), {kBlock, 0});
  ASSERT_EQ(run.error, "");
  EXPECT_TRUE(run.output == LongLine() + "\r\nhead\r\n");
  EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
  EXPECT_LE(run.progress.back(), 100.0F);
  const auto readingBack = std::count_if(run.progress.begin(), run.progress.end(), [](float p) { return p > 0 && p < 50; });
  const auto copying = std::count_if(run.progress.begin(), run.progress.end(), [](float p) { return p >= 50 && p < 100; });
  EXPECT_GE(readingBack, 100);
  EXPECT_GE(copying, 100);
}

// Stopped first while the line is read back, then while it is copied: the run ends within a
// block of reading and leaves the earlier output as it was, with no file of its own behind.
TEST(LineKeepLongLine, StopsWithinABlockInTheMiddleOfTheLine) {
  for (const float stopAt : {20.0F, 70.0F}) {
    SCOPED_TRACE(stopAt);
    const TempFolder folder;
    const std::string inputPath = folder.Write("in.txt", "head\n" + LongLine());
    const std::string outputPath = inputPath + "_rev.txt";
    testing::WriteWhole(outputPath, "earlier");
    StoppingProgress progress(stopAt);
    {
      const ReadsAfterStop reads;
      EXPECT_THROW(quillon::RunMode(RevertMode::LineKeep,
                                    ModeContext{inputPath, outputPath, progress, progress.source.get_token(), {kBlock, 0}}),
                   RunCancelled);
      EXPECT_TRUE(progress.source.stop_requested());
      EXPECT_LE(ReadsAfterStop::bytes.load(), kBlock);
    }
    EXPECT_LT(progress.values.back(), stopAt + 1);
    EXPECT_EQ(ReadWhole(outputPath), "earlier");
    EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
  }
}

}  // namespace
}  // namespace quillon
