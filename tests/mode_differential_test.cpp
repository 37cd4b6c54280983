#include <random>

#include <gtest/gtest.h>

#include "tests/support/mode_runner.h"
#include "tests/support/reference_modes.h"

namespace quillon {
namespace {

using testing::Reference;
using testing::RunMode;
using testing::Spelled;

// Mostly letters, with CR, LF and CR LF breaks in random places and amounts, so that
// lines of every length, empty lines and long runs of breaks all occur.
std::string RandomText(std::mt19937& random) {
  static constexpr const char* kPieces[] = {"\r", "\n", "\r\n", "\n\r"};
  const std::size_t length = random() % (random() % 4 == 0 ? 5000 : 80);
  const auto breakOneIn = 1 + random() % 40;
  std::string text;
  while (text.size() < length) {
    if (random() % breakOneIn == 0) {
      text += kPieces[random() % 4];
    } else {
      text += static_cast<char>(random() % 4 == 0 ? random() % 256 : 'a' + random() % 26);
    }
  }
  return text;
}

TEST(ModeDifferential, BlockEngineAgreesWithTheByteModelOnRandomTexts) {
  std::mt19937 random(20261207);
  const testing::TempFolder folder;
  // Under Wine every run's files cost tens of milliseconds: fewer rounds there, the same engine.
#if defined(_WIN32)
  constexpr int kRounds = 100;
#else
  constexpr int kRounds = 300;
#endif
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = RandomText(random);
    const std::size_t blockSize = 1 + random() % (random() % 2 == 0 ? 8 : 300);
    for (const RevertMode mode : testing::kAllModes) {
      const testing::ModeRun run = testing::RunMode(folder, mode, text, {blockSize, 0});
      const std::string expected = Reference(mode, text);
      ASSERT_EQ(run.error, "");
      ASSERT_EQ(run.output, expected) << "mode " << static_cast<int>(mode) << ", block " << blockSize << ", input " << Spelled(text);
      ASSERT_EQ(run.echo, expected);
    }
  }
}

}  // namespace
}  // namespace quillon
