#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "modes/run_mode.h"
#include "tests/support/mode_runner.h"

namespace quillon {
namespace {

using testing::kAllModes;
using testing::ReadWhole;
using testing::TempFolder;

constexpr uid_t kNobody = 65534;

struct stat StatOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) ADD_FAILURE() << "cannot stat " << path;
  return info;
}

// Calls `check` at every progress report of a run.
template <class Check>
class ProgressProbe : public RunObserver {
 public:
  explicit ProgressProbe(Check check) : check_(check) {}
  void SetProgressValue(float) override { check_(); }

 private:
  Check check_;
};

std::string ShortLines(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST(OutputReplacement, NewContentOfAPrivateOutputIsNeverVisibleToOthers) {
  for (const RevertMode mode : kAllModes) {
    const TempFolder folder;
    const std::string input = folder.Write("input.txt", ShortLines(2000));
    const std::string output = folder.Write("input.txt_rev.txt", "earlier");
    ASSERT_EQ(::chmod(output.c_str(), 0600), 0);
    int checks = 0;
    std::string exposed;
    ProgressProbe probe([&] {
      ++checks;
      for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        const std::string path = entry.path().string();
        if (path == input) continue;
        if ((StatOf(path).st_mode & 077) != 0) exposed = path;
      }
    });
    RunMode(mode, ModeContext{input, output, probe, {}, {.BlockSize = 1024, .ProgressStep = 1024}});
    EXPECT_GT(checks, 5);
    EXPECT_EQ(exposed, "") << "was open to others while the run wrote";
    EXPECT_EQ(StatOf(output).st_mode & 07777, 0600u);
    EXPECT_EQ(folder.Listing(), "input.txt input.txt_rev.txt");
  }
}

TEST(OutputReplacement, KeepsOwnerAndGroupButNotSetUserBits) {
  const TempFolder folder;
  const std::string output = folder.Write("input.txt_rev.txt", "earlier");
  const bool privileged = ::geteuid() == 0;
  if (privileged) {
    ASSERT_EQ(::chown(output.c_str(), kNobody, kNobody), 0);
  }
  ASSERT_EQ(::chmod(output.c_str(), 06755), 0);  // after chown, which clears these bits

  const testing::ModeRun run = testing::RunMode(folder, RevertMode::SimpleRevert, "abc");
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.output, "cba");
  const struct stat info = StatOf(output);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
  if (privileged) {
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
  }
}

// Replacing is renaming: another name of the earlier output still names the earlier file.
TEST(OutputReplacement, OtherHardLinksKeepTheEarlierContent) {
  const TempFolder folder;
  const std::string output = folder.Write("input.txt_rev.txt", "earlier");
  const std::string otherName = folder.File("other name.txt");
  ASSERT_EQ(::link(output.c_str(), otherName.c_str()), 0);

  const testing::ModeRun run = testing::RunMode(folder, RevertMode::RevertLine, "ab\ncd");
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.output, "ba\ndc");
  EXPECT_EQ(ReadWhole(otherName), "earlier");
  EXPECT_EQ(StatOf(output).st_nlink, 1u);
}

// A run killed part-way (a crash, the session ending) leaves the folder as it was.
TEST(OutputReplacement, ARunKilledPartWayLeavesNothingBehind) {
  for (const RevertMode mode : kAllModes) {
    const TempFolder folder;
    const std::string text = ShortLines(20000);
    const std::string input = folder.Write("input.txt", text);
    const std::string output = folder.Write("input.txt_rev.txt", "earlier");
    int midRun[2];
    ASSERT_EQ(::pipe(midRun), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(midRun[0]);
      int reports = 0;
      ProgressProbe probe([&] {
        if (++reports < 10) return;
        const char mark = 'm';
        (void)!::write(midRun[1], &mark, 1);
        for (;;) ::pause();
      });
      try {
        RunMode(mode, ModeContext{input, output, probe, {}, {.BlockSize = 4096, .ProgressStep = 4096}});
      } catch (...) {
      }
      ::_exit(3);  // finished without being killed
    }
    ::close(midRun[1]);
    char mark = 0;
    ssize_t got = 0;
    while ((got = ::read(midRun[0], &mark, 1)) < 0 && errno == EINTR) {
    }
    ::close(midRun[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    ASSERT_EQ(got, 1) << "the run ended before it was half done";
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(folder.Listing(), "input.txt input.txt_rev.txt");
    EXPECT_EQ(ReadWhole(output), "earlier");
    EXPECT_EQ(ReadWhole(input), text);
  }
}

}  // namespace
}  // namespace quillon
