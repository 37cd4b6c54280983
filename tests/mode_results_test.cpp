#include <gtest/gtest.h>

#include "tests/support/mode_runner.h"

namespace quillon {
namespace {

using testing::kAllModes;
using testing::ModeRun;
using testing::RunMode;
using testing::Spelled;

struct Expected {
  std::string input;
  std::string output;  // also the result text
};

// Each mode on small inputs, with blocks so small that every break meets a block edge and
// lines outgrow the output buffers, with the usual blocks, and with blocks of 0 bytes asked for.
class ModeResultTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  void ExpectResults(RevertMode mode, const std::vector<Expected>& cases) {
    for (const Expected& expected : cases) {
      SCOPED_TRACE(Spelled(expected.input));
      const ModeRun run = RunMode(mode, expected.input, {GetParam(), 0});
      EXPECT_EQ(run.error, "");
      EXPECT_EQ(Spelled(run.output), Spelled(expected.output));
      EXPECT_EQ(Spelled(run.echo), Spelled(expected.output));
    }
  }
};

TEST_P(ModeResultTest, SimpleRevertWritesTheBytesBackwards) {
  ExpectResults(RevertMode::SimpleRevert, {
                                              {"ab\r\ncd\r\n", "\n\rdc\n\rba"},
                                              {"x", "x"},
                                              {"", ""},
                                              {"hello world", "dlrow olleh"},
                                              {"0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                               "ZYXWVUTSRQPONMLKJIHGFEDCBA9876543210zyxwvutsrqponmlkjihgfedcba9876543210"},
                                          });
}

TEST_P(ModeResultTest, LineKeepWritesTheLinesLastFirstEachWithOneCrLf) {
  ExpectResults(RevertMode::LineKeep, {
                                          {"ab\r\ncd\r\n", "\r\ncd\r\nab\r\n"},
                                          {"ab\r\ncd", "cd\r\nab\r\n"},
                                          {"ab\ncd\n", "\r\ncd\r\nab\r\n"},
                                          {"a\nb\nc\nd\n", "\r\nd\r\nc\r\nb\r\na\r\n"},
                                          {"ab\rcd\r", "\r\r\n\rcd\r\nab\r\n"},
                                          {"\r\nab", "ab\r\n"},
                                          {"abcdefg\rhi\r\n", "\r\n\rhi\r\nabcdefg\r\n"},
                                          {"x", "x\r\n"},
                                          {"", ""},
                                      });
}

TEST_P(ModeResultTest, RevertLineReversesEachLineAndKeepsItsBreak) {
  ExpectResults(RevertMode::RevertLine, {
                                            {"ab\r\ncd\r\n", "ba\r\ndc\r\n"},
                                            {"ab\ncd\n", "ba\ndc\n"},
                                            {"ab\r\ncd", "ba\r\ndc"},
                                            {"ab\rcd\r\nef\ngh", "ba\rdc\r\nfe\nhg"},
                                            {"\n\r\r\nxyz", "\n\r\r\nzyx"},
                                            {"abcdefg\nhi\r\nxyz", "gfedcba\nih\r\nzyx"},
                                            {"a\nbcdefghijklmnopqrstu", "a\nutsrqponmlkjihgfedcb"},
                                            {"x", "x"},
                                            {"", ""},
                                        });
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ModeResultTest, ::testing::Values(0, 1, 2, 3, 1 << 20));

TEST(ModeProgress, ReportsTheShareHandledBeforeEachPiece) {
  EXPECT_EQ(RunMode(RevertMode::SimpleRevert, "ab\r\ncd\r\n", {1, 1}).progress,
            (std::vector<float>{0, 12.5, 25, 37.5, 50, 62.5, 75, 87.5}));
  // Line keep also moves while it reads a line back over blocks and copies it: each pass
  // counts for half of the line.
  EXPECT_EQ(RunMode(RevertMode::LineKeep, "ab\r\ncd\r\n", {1, 1}).progress,
            (std::vector<float>{0, 12.5, 25, 37.5, 50, 75, 87.5}));
  EXPECT_EQ(RunMode(RevertMode::RevertLine, "abcd", {1, 1}).progress, (std::vector<float>{0, 25, 50, 75}));
  EXPECT_EQ(RunMode(RevertMode::SimpleRevert, "x", {1, 1}).progress, (std::vector<float>{0}));
}

TEST(ModeProgress, NeverPassesOneHundredAndReportsSparingly) {
  const std::string lineFeeds(100000, '\n');
  for (const RevertMode mode : kAllModes) {
    const ModeRun run = RunMode(mode, lineFeeds, {64, 0});
    ASSERT_FALSE(run.progress.empty());
    EXPECT_LE(run.progress.size(), 1001U);
    EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
    EXPECT_LE(run.progress.back(), 100.0F);
  }
}

TEST(ModeBytes, EveryByteValueSurvivesEveryMode) {
  std::string all;
  for (int value = 0; value < 256; ++value) all += static_cast<char>(value);
  std::string reversed(all.rbegin(), all.rend());
  EXPECT_EQ(RunMode(RevertMode::SimpleRevert, all).output, reversed);

  // Bytes 10 and 13 are the only breaks: 0..9 | LF | 11,12 | CR | 14..255.
  const auto run = [&](int from, int to) { return all.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)); };
  const auto backwards = [](std::string s) { return std::string(s.rbegin(), s.rend()); };
  EXPECT_EQ(RunMode(RevertMode::RevertLine, all).output,
            backwards(run(0, 10)) + "\n" + backwards(run(11, 13)) + "\r" + backwards(run(14, 256)));
  EXPECT_EQ(RunMode(RevertMode::LineKeep, all).output, "\r" + run(14, 256) + "\r\n" + run(11, 13) + "\r\n" + run(0, 10) + "\r\n");
}

TEST(ModeOutput, ReplacesALongerEarlierOutputWhole) {
  for (const RevertMode mode : kAllModes) {
    const testing::TempFolder folder;
    testing::WriteWhole(folder.File("input.txt_rev.txt"), "an earlier and much longer output file");
    const ModeRun run = RunMode(folder, mode, "ab\ncd");
    EXPECT_EQ(run.output, run.echo);
    EXPECT_EQ(folder.Listing(), "input.txt input.txt_rev.txt");
  }
}

TEST(ModeOutput, RunningTwiceReplacesTheFirstOutputWithTheSameBytes) {
  const std::string input = "one\r\ntwo\nthree\rfour";
  const std::pair<RevertMode, std::string> expected[] = {
      {RevertMode::SimpleRevert, "ruof\reerht\nowt\n\reno"},
      {RevertMode::LineKeep, "\rfour\r\nthree\r\ntwo\r\none\r\n"},
      {RevertMode::RevertLine, "eno\r\nowt\neerht\rruof"},
  };
  for (const auto& [mode, output] : expected) {
    const testing::TempFolder folder;
    EXPECT_EQ(Spelled(RunMode(folder, mode, input).output), Spelled(output));
    EXPECT_EQ(Spelled(RunMode(folder, mode, input).output), Spelled(output));
  }
}

}  // namespace
}  // namespace quillon
