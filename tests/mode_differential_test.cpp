#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "tests/support/mode_runner.h"

namespace quillon {
namespace {

using testing::RunMode;
using testing::Spelled;

// Small, obviously correct models of the three modes, a byte at a time.

std::string ReferenceSimpleRevert(const std::string& in) { return {in.rbegin(), in.rend()}; }

// The backward line walk: collect bytes going back until a break, a lone CR staying in
// front of its line, a CR LF pair or a lone LF dropped; each line then gets CR LF.
std::string ReferenceLineKeep(const std::string& in) {
  std::string out;
  auto cursor = static_cast<std::ptrdiff_t>(in.size()) - 1;
  while (cursor > -1) {
    std::string collected;
    for (;;) {
      if (cursor < 0) break;
      const char c = in[static_cast<std::size_t>(cursor)];
      if (c == '\n') {
        --cursor;
        if (cursor >= 0 && in[static_cast<std::size_t>(cursor)] == '\r') --cursor;
        break;
      }
      --cursor;
      collected += c;
      if (c == '\r') break;
    }
    std::reverse(collected.begin(), collected.end());
    out += collected + "\r\n";
  }
  return out;
}

// Lines end at LF, CR LF or a lone CR; each line's content is reversed, its break kept.
std::string ReferenceRevertLine(const std::string& in) {
  std::string out;
  std::string line;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    out.append(line.rbegin(), line.rend());
    line.clear();
    out += c;
    if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') out += in[++i];
  }
  out.append(line.rbegin(), line.rend());
  return out;
}

std::string Reference(RevertMode mode, const std::string& in) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      return ReferenceSimpleRevert(in);
    case RevertMode::LineKeep:
      return ReferenceLineKeep(in);
    case RevertMode::RevertLine:
      return ReferenceRevertLine(in);
  }
  return {};
}

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
  for (int round = 0; round < 300; ++round) {
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
