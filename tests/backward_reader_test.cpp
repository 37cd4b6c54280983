#include <stdexcept>

#include <gtest/gtest.h>

#include "fileio/backward_reader.h"
#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"
#include "fileio/line_breaks.h"
#include "tests/support/backward_line_text.h"
#include "tests/support/mode_runner.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::ReadLineBackward;
using testing::Spelled;
using testing::TempFolder;

struct LineWalk {
  std::string input;
  std::int64_t start;
  std::vector<std::pair<std::string, std::int64_t>> lines;  // each result and the cursor after it
};

// Every case is walked with blocks of one byte, of a few bytes, and of the usual size, so
// that breaks fall on block edges.
class ReadLineBackwardTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ReadLineBackwardTest, ReturnsEachLineWithCrLfAndStepsOverTheBreak) {
  const std::vector<LineWalk> walks = {
      {"ab\r\ncd\r\n", 7, {{"\r\n", 5}, {"cd\r\n", 1}, {"ab\r\n", -1}}},
      {"ab\r\ncd", 5, {{"cd\r\n", 1}, {"ab\r\n", -1}}},
      {"ab\ncd\n", 5, {{"\r\n", 4}, {"cd\r\n", 1}, {"ab\r\n", -1}}},
      {"ab\rcd\r", 5, {{"\r\r\n", 4}, {"\rcd\r\n", 1}, {"ab\r\n", -1}}},
      {"x\ry", 2, {{"\ry\r\n", 0}, {"x\r\n", -1}}},
      {"x", 0, {{"x\r\n", -1}}},
      {"", -1, {{"\r\n", -1}}},
      {"\r\nab", 3, {{"ab\r\n", -1}}},
      {"\nab", 2, {{"ab\r\n", -1}}},
      {"\rab", 2, {{"\rab\r\n", -1}}},
      {"ab\n\r\ncd", 6, {{"cd\r\n", 2}, {"\r\n", 1}, {"ab\r\n", -1}}},
      {"ab\n\rcd", 5, {{"\rcd\r\n", 2}, {"\r\n", 1}, {"ab\r\n", -1}}},
  };
  const TempFolder folder;
  for (const LineWalk& walk : walks) {
    SCOPED_TRACE(Spelled(walk.input));
    const FileHandle in = OpenForRead(folder.Write("lines.txt", walk.input));
    BackwardReader reader(in, FileSize(in), GetParam());
    ReadCursor cursor{walk.start};
    for (const auto& [line, cursorAfter] : walk.lines) {
      EXPECT_EQ(Spelled(ReadLineBackward(reader, cursor)), Spelled(line));
      EXPECT_EQ(cursor.Offset, cursorAfter);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ReadLineBackwardTest, ::testing::Values(1, 2, 3, 5, 1 << 20));

TEST(ReadLineBackward, GivesAnEmptyLineAndStaysPutOutsideTheFile) {
  const TempFolder folder;
  const FileHandle in = OpenForRead(folder.Write("lines.txt", "abc"));
  BackwardReader reader(in, FileSize(in), 2);
  ReadCursor beyond{3};
  EXPECT_EQ(ReadLineBackward(reader, beyond), "\r\n");
  EXPECT_EQ(beyond.Offset, 3);
  ReadCursor before{-2};
  EXPECT_EQ(ReadLineBackward(reader, before), "\r\n");
  EXPECT_EQ(before.Offset, -2);
}

TEST(ReadLineBackward, KeepsALineLongerThanManyBlocksWhole) {
  const TempFolder folder;
  std::string longLine(10000, 'q');
  longLine[0] = 'A';
  longLine.back() = 'Z';
  const FileHandle in = OpenForRead(folder.Write("long.txt", "head\n" + longLine));
  BackwardReader reader(in, FileSize(in), 64);
  ReadCursor cursor{FileSize(in) - 1};
  EXPECT_EQ(ReadLineBackward(reader, cursor), longLine + "\r\n");
  EXPECT_EQ(ReadLineBackward(reader, cursor), "head\r\n");
  EXPECT_EQ(cursor.Offset, -1);
}

TEST(BackwardReaderLoads, AreAnnouncedBeforeEachReadAndEndWhenTheHookThrows) {
  const TempFolder folder;
  const FileHandle in = OpenForRead(folder.Write("long.txt", std::string(10 * 64 - 5, 'q')));
  BackwardReader reader(in, FileSize(in), 64);
  std::vector<std::int64_t> starts;
  reader.OnBlockLoad([&starts](std::int64_t start) { starts.push_back(start); });
  ReadCursor cursor{FileSize(in) - 1};
  EXPECT_EQ(ReadLineBackward(reader, cursor), std::string(10 * 64 - 5, 'q') + "\r\n");
  EXPECT_EQ(starts, (std::vector<std::int64_t>{576, 512, 448, 384, 320, 256, 192, 128, 64, 0}));

  reader.OnBlockLoad([](std::int64_t) { throw std::runtime_error("stopped"); });
  EXPECT_THROW(reader.ByteAt(600), std::runtime_error);
  EXPECT_EQ(reader.ByteAt(3), 'q');  // the block loaded last is still served
  EXPECT_EQ(reader.BlockStart(), 0);
}

}  // namespace
}  // namespace quillon
