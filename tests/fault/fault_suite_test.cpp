#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/fault/fault_case.h"
#include "tests/fault/file_tree.h"
#include "tests/support/mode_runner.h"
#include "tests/support/reference_modes.h"

namespace quillon::testing {
namespace {

const std::vector<std::string> kLeaveBusy = {"revert on", "busy off", "progress 0"};

std::vector<std::string> Tail(const std::vector<std::string>& calls, std::size_t n) {
  return {calls.end() - static_cast<std::ptrdiff_t>(std::min(n, calls.size())), calls.end()};
}

std::string Relative(const TempFolder& folder, const std::string& path) {
  return std::filesystem::path(path).lexically_relative(folder.path()).string();
}

// Gives the owner back every folder the case made read-only, so that it can be removed.
void OpenUp(const TempFolder& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path(), ignored))
    if (entry.symlink_status().type() == std::filesystem::file_type::directory)
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
}

// A new file's permission bits under the process's umask.
mode_t NewFileBits() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

using FaultRun = std::tuple<FaultCase, RevertMode>;

class FaultSuite : public ::testing::TestWithParam<FaultRun> {};

// Every case: the window shows the one expected message (or none), is idle again afterwards,
// and the folder holds exactly what it held before, but for the result where a run succeeds.
TEST_P(FaultSuite, EndsWithTheMessageAnIdleWindowAndNothingElseChanged) {
  const auto& [faultCase, mode] = GetParam();
  const TempFolder folder;
  ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);  // every user may enter
  const Scene scene = faultCase.lay(folder);
  if (!scene.skipped.empty()) GTEST_SKIP() << scene.skipped;

  FileTree expected = FileTree::Of(folder.path());
  std::string result;  // what a successful run must write and show
  if (scene.message.empty()) {
    result = Reference(mode, ReadWhole(scene.input));
    const std::string receiver = scene.receiver.empty() ? scene.input + "_rev.txt" : scene.receiver;
    struct stat earlier {};
    const mode_t bits = ::stat(receiver.c_str(), &earlier) == 0 ? earlier.st_mode : NewFileBits();
    expected.entries[Relative(folder, receiver)] = FileTree::DescribeFile(bits, result);
  }

  const WindowRun run = ClickRevert(scene.input, mode, faultCase.runner, scene.fault);
  if (!run.skipped.empty()) GTEST_SKIP() << run.skipped;
  FileTree after = FileTree::Of(folder.path());
  OpenUp(folder);

  if (scene.message.empty()) {
    EXPECT_EQ(run.Messages(), std::vector<std::string>{});
    EXPECT_EQ(Tail(run.calls, 3), kLeaveBusy);
    EXPECT_EQ(FileTree::Fingerprint(run.result), FileTree::Fingerprint(result));
  } else {
    EXPECT_EQ(run.Messages(), std::vector<std::string>{scene.message});
    std::vector<std::string> idleThenMessage = kLeaveBusy;
    idleThenMessage.push_back("message " + scene.message);
    EXPECT_EQ(Tail(run.calls, 4), idleThenMessage);
  }
  for (const std::string& changed : scene.changedByTheCase) {
    expected.entries.erase(changed);
    after.entries.erase(changed);
  }
  EXPECT_EQ(after, expected);
}

std::vector<FaultRun> AllRuns() {
  std::vector<FaultRun> runs;
  for (const auto& cases : {InputCases(), OutputCases(), ReadAndWriteCases(), PathCases()})
    for (const FaultCase& faultCase : cases)
      for (const RevertMode mode : kAllModes) runs.emplace_back(faultCase, mode);
  return runs;
}

std::string RunName(const ::testing::TestParamInfo<FaultRun>& info) {
  static constexpr const char* kModeNames[] = {"SimpleRevert", "LineKeep", "RevertLine"};
  return std::get<0>(info.param).name + "_" + kModeNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Cases, FaultSuite, ::testing::ValuesIn(AllRuns()), RunName);

}  // namespace
}  // namespace quillon::testing
