#include <cstdint>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/fuzz_targets.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {
namespace {

using fuzzing::FuzzTarget;
using fuzzing::kFuzzTargets;

// The files in `folder`, which must exist: a folder that went missing would replay nothing.
std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder << " is missing";
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

void Replay(const FuzzTarget& target, const std::filesystem::path& file) {
  const std::string bytes = ReadWhole(file.string());
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  EXPECT_EQ(target.Check({data, bytes.size()}), "") << file;
}

class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {};

// The fuzz targets' checks, built with the usual compiler, on their seeds.
TEST_P(FuzzReplay, AgreesWithTheModelOnEverySeed) {
  const auto seeds = FilesIn(std::filesystem::path(QUILLON_FUZZ_FOLDER) / "corpus" / GetParam().Name);
  ASSERT_GE(seeds.size(), 10U) << "the seed corpus is missing";
  for (const auto& seed : seeds) Replay(GetParam(), seed);
}

// Every input that once made a target fail, and inputs on the buffer edges that a change moved;
// a file is added here with the fix it needed.
TEST_P(FuzzReplay, AgreesWithTheModelOnEveryInputThatOnceFailed) {
  for (const auto& input : FilesIn(std::filesystem::path(QUILLON_FUZZ_FOLDER) / "regressions" / GetParam().Name))
    Replay(GetParam(), input);
}

std::string TargetName(const ::testing::TestParamInfo<FuzzTarget>& target) { return std::string(target.param.Name); }

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kFuzzTargets), TargetName);

}  // namespace
}  // namespace quillon::testing
