#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "fileio/file_error.h"
#include "tests/support/mode_runner.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::kAllModes;
using testing::ReadWhole;
using testing::TempFolder;
using testing::WriteWhole;

// Runs `mode` from `inputPath` to `outputPath`; the failure message, or "" on success.
std::string Failure(RevertMode mode, const std::string& inputPath, const std::string& outputPath, EngineTuning tuning = {},
                ProgressSink* progress = nullptr) {
  ResultText result;
  testing::ProgressLog log;
  try {
    RunMode(mode, ModeContext{inputPath, outputPath, result, progress ? *progress : log, {}, tuning});
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

TEST(RunSafety, RefusesAnInputThatCannotBeReadBeforeWritingAnything) {
  const TempFolder folder;
  ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
  ASSERT_EQ(::mkdir(folder.File("folder").c_str(), 0700), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {folder.File("missing.txt"), "No such file or directory"},
      {folder.File("folder"), "Is a directory"},
      {folder.File("pipe"), "not a regular file"},
      {"/dev/zero", "not a regular file"},
  };
  const std::string output = folder.Write("out.txt", "earlier");
  for (const RevertMode mode : kAllModes) {
    for (const auto& [input, reason] : cases) {
      EXPECT_EQ(Failure(mode, input, output), "Cannot open \"" + input + "\": " + reason);
      EXPECT_EQ(ReadWhole(output), "earlier");
    }
  }
  EXPECT_EQ(folder.Listing(), "folder out.txt pipe");
}

TEST(RunSafety, RefusesAnInputOf2GiBOrMoreAtOnce) {
  const TempFolder folder;
  const std::string input = folder.File("huge.txt");
  {
    const int fd = ::open(input.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 31), 0);  // sparse: costs no disk
    ::close(fd);
  }
  for (const RevertMode mode : kAllModes) {
    EXPECT_EQ(Failure(mode, input, input + "_rev.txt"),
              "Cannot revert \"" + input + "\": the file is 2 GiB or larger; only smaller files can be reverted");
  }
  EXPECT_EQ(folder.Listing(), "huge.txt");
}

TEST(RunSafety, RefusesAnOutputThatIsTheInputOrAFolder) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "abc");
  ASSERT_EQ(::symlink(input.c_str(), folder.File("soft_rev.txt").c_str()), 0);
  ASSERT_EQ(::link(input.c_str(), folder.File("hard_rev.txt").c_str()), 0);
  ASSERT_EQ(::mkdir(folder.File("dir_rev.txt").c_str(), 0700), 0);
  for (const RevertMode mode : kAllModes) {
    for (const char* name : {"soft_rev.txt", "hard_rev.txt"})
      EXPECT_EQ(Failure(mode, input, folder.File(name)),
                "Cannot write \"" + folder.File(name) + "\": it is the input file itself; the input is never overwritten");
    EXPECT_EQ(Failure(mode, input, folder.File("dir_rev.txt")), "Cannot write \"" + folder.File("dir_rev.txt") + "\": Is a directory");
  }
  EXPECT_EQ(ReadWhole(input), "abc");
  EXPECT_EQ(folder.Listing(), "dir_rev.txt hard_rev.txt in.txt soft_rev.txt");
}

TEST(RunSafety, ReplacesTheTargetOfALinkedOutputAndKeepsTheLink) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "abc");
  ASSERT_EQ(::mkdir(folder.File("elsewhere").c_str(), 0700), 0);
  const std::string target = folder.Write("elsewhere/target.txt", "an earlier, longer output");
  ASSERT_EQ(::symlink("elsewhere/target.txt", folder.File("in.txt_rev.txt").c_str()), 0);
  EXPECT_EQ(Failure(RevertMode::SimpleRevert, input, folder.File("in.txt_rev.txt")), "");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("in.txt_rev.txt")));
  EXPECT_EQ(ReadWhole(target), "cba");
  EXPECT_EQ(folder.Listing(), "elsewhere in.txt in.txt_rev.txt");
}

TEST(RunSafety, KeepsThePermissionBitsOfAnExistingOutput) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "abc");
  const std::string output = folder.Write("in.txt_rev.txt", "old");
  ASSERT_EQ(::chmod(output.c_str(), 0444), 0);
  EXPECT_EQ(Failure(RevertMode::RevertLine, input, output), "");
  struct stat info {};
  ASSERT_EQ(::stat(output.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444U);
  EXPECT_EQ(ReadWhole(output), "cba");
}

TEST(RunSafety, AFileSizeLimitEndsTheRunWithAMessageAndLeavesTheEarlierOutput) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", std::string(256 * 1024, 'x'));
  const std::string output = folder.Write("in.txt_rev.txt", "earlier");
  for (const RevertMode mode : kAllModes) {
    // The limit is set in a child so that it binds nothing else.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit limit{64 * 1024, 64 * 1024};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      const std::string message = Failure(mode, input, output, {16 * 1024, 0});
      ::_exit(message == "Cannot write \"" + output + "\": File too large" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "mode " << static_cast<int>(mode);
    EXPECT_EQ(ReadWhole(output), "earlier");
  }
  EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
}

// Shortens the input while a run reads it, at the second progress report.
class Truncator : public ProgressSink {
 public:
  explicit Truncator(std::string path) : path_(std::move(path)) {}
  void SetProgressValue(float) override {
    if (++calls_ == 2) std::filesystem::resize_file(path_, 10);
  }

 private:
  std::string path_;
  int calls_ = 0;
};

TEST(RunSafety, AnInputThatShrinksDuringTheRunEndsItWithAMessage) {
  for (const RevertMode mode : kAllModes) {
    const TempFolder folder;
    const std::string input = folder.Write("in.txt", std::string(4000, 'y') + "\n" + std::string(4000, 'z'));
    const std::string output = folder.Write("in.txt_rev.txt", "earlier");
    Truncator truncator(input);
    EXPECT_EQ(Failure(mode, input, output, {1000, 1000}, &truncator),
              "Cannot read \"" + input + "\": the file became shorter while it was read");
    EXPECT_EQ(ReadWhole(output), "earlier");
    EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
  }
}

TEST(RunSafety, HandlesPathsWithSpacesNewlinesAndOtherLetters) {
  const TempFolder folder;
  for (const char* name : {"with space.txt", "line\nbreak.txt", "Grüße ünd 日本.txt"}) {
    const std::string input = folder.Write(name, "ab\ncd");
    EXPECT_EQ(Failure(RevertMode::LineKeep, input, input + "_rev.txt"), "");
    EXPECT_EQ(ReadWhole(input + "_rev.txt"), "cd\r\nab\r\n");
  }
}

}  // namespace
}  // namespace quillon
