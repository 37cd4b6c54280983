#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "fileio/backward_reader.h"
#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"
#include "fileio/line_breaks.h"
#include "tests/support/backward_line_text.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::ReadByteBackward;
using testing::ReadWhole;
using testing::TempFolder;

TEST(OpenForRead, RefusesWhatIsNotAnExistingRegularFile) {
  const TempFolder folder;
  const std::string missing = folder.File("missing.txt");
  const FileHandle none = OpenForRead(missing);
  EXPECT_FALSE(none.valid());
  EXPECT_EQ(none.native(), -1);
  EXPECT_EQ(none.error(), "No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(missing));

  EXPECT_EQ(OpenForRead(folder.path()).error(), "Is a directory");

  // A FIFO with no writer would block a plain open for ever.
  const std::string fifo = folder.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(OpenForRead(fifo).error(), "not a regular file");
  EXPECT_EQ(OpenForRead("/dev/zero").error(), "not a regular file");
}

TEST(OpenForWrite, KeepsTheLengthAndTailOfAnExistingFile) {
  const TempFolder folder;
  const std::string path = folder.Write("out.txt", "ABCDEFGHIJKLMNOPQRST");
  FileHandle out = OpenForWrite(path);
  ASSERT_TRUE(out.valid());
  const std::string fresh = "abcdefgh";
  for (std::size_t i = 0; i < fresh.size(); ++i) WriteAt(out, static_cast<std::int64_t>(i), std::span(fresh).subspan(i, 1));
  CloseFileHandle(out);
  EXPECT_FALSE(out.valid());
  EXPECT_EQ(ReadWhole(path), "abcdefghIJKLMNOPQRST");
}

TEST(OpenForWrite, CreatesAMissingFileEmpty) {
  const TempFolder folder;
  FileHandle out = OpenForWrite(folder.File("new.txt"));
  ASSERT_TRUE(out.valid());
  EXPECT_EQ(FileSize(out), 0);
}

class ReadByteBackwardTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ReadByteBackwardTest, WalksToTheStartAndThenGivesZero) {
  const TempFolder folder;
  const FileHandle in = OpenForRead(folder.Write("abc.txt", "abc"));
  BackwardReader reader(in, FileSize(in), GetParam());
  ReadCursor cursor{2};
  EXPECT_EQ(ReadByteBackward(reader, cursor), 99);
  EXPECT_EQ(cursor.Offset, 1);
  EXPECT_EQ(ReadByteBackward(reader, cursor), 98);
  EXPECT_EQ(ReadByteBackward(reader, cursor), 97);
  EXPECT_EQ(cursor.Offset, -1);
  EXPECT_EQ(ReadByteBackward(reader, cursor), 0);
  EXPECT_EQ(cursor.Offset, -2);

  ReadCursor atSize{3};
  EXPECT_EQ(ReadByteBackward(reader, atSize), 0);
  EXPECT_EQ(atSize.Offset, 2);
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ReadByteBackwardTest, ::testing::Values(1, 2, 1 << 20));

TEST(ReadAt, ReportsAFileThatBecameShorter) {
  const TempFolder folder;
  const FileHandle in = OpenForRead(folder.Write("short.txt", "abcd"));
  std::string buffer(8, '\0');
  EXPECT_EQ(ReadAt(in, 0, buffer), 4U);
  try {
    ReadExactlyAt(in, 2, buffer);
    FAIL() << "a short read went unnoticed";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot read \"" + in.path() + "\": the file became shorter while it was read");
  }
}

}  // namespace
}  // namespace quillon
