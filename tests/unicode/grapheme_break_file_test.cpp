// Unicode's own grapheme break test file for the pinned version, every line of it, with the
// one deliberate difference: CR and LF are always clusters of their own.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unicode/utf8_text.h"
#include "unicode/cluster_reverse.h"

namespace quillon::testing {
namespace {

// Unicode 15.0 has 602 test lines, 473 of them without CR or LF.
constexpr const char* kTestFile = QUILLON_UNICODE_DATA_DIR "/auxiliary/GraphemeBreakTest.txt";

struct BreakCase {
  int lineNumber;
  std::string text;
  std::vector<std::size_t> boundaries;
  bool hasLineBreak = false;
};

// A line reads "÷ 0020 × 0308 ÷ 000A ÷ # comment": code points in hex, ÷ where a boundary
// is, × where none is.
BreakCase ParseLine(const std::string& line, int lineNumber) {
  BreakCase parsed{lineNumber, {}, {}};
  std::istringstream tokens(line.substr(0, line.find('#')));
  std::string token;
  char32_t previous = 0;
  bool pendingNoBreak = false;
  while (tokens >> token) {
    if (token == "\xC3\xB7") {  // ÷
      parsed.boundaries.push_back(parsed.text.size());
    } else if (token == "\xC3\x97") {  // ×
      pendingNoBreak = true;
    } else {
      const auto codePoint = static_cast<char32_t>(std::stoul(token, nullptr, 16));
      // GB3 keeps CR LF together; here the two are apart.
      if (pendingNoBreak && previous == U'\r' && codePoint == U'\n') parsed.boundaries.push_back(parsed.text.size());
      pendingNoBreak = false;
      parsed.hasLineBreak = parsed.hasLineBreak || codePoint == U'\r' || codePoint == U'\n';
      AppendUtf8(parsed.text, codePoint);
      previous = codePoint;
    }
  }
  return parsed;
}

std::vector<BreakCase> ReadTestFile() {
  std::ifstream in(kTestFile);
  std::vector<BreakCase> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number)
    if (!line.empty() && line[0] != '#') cases.push_back(ParseLine(line, number));
  return cases;
}

TEST(GraphemeBreakTestFile, EveryLineSplitsAsTheFileSays) {
  const std::vector<BreakCase> cases = ReadTestFile();
  ASSERT_EQ(cases.size(), 602U) << "cannot read " << kTestFile;
  int adaptedForLineBreaks = 0;
  for (const BreakCase& breakCase : cases) {
    EXPECT_EQ(GraphemeBoundariesOf(breakCase.text), breakCase.boundaries) << "line " << breakCase.lineNumber;
    adaptedForLineBreaks += breakCase.hasLineBreak ? 1 : 0;
  }
  std::cout << "[          ] " << cases.size() << " lines of GraphemeBreakTest.txt ran, " << adaptedForLineBreaks
            << " of them with CR or LF\n";
}

// The kernels' fast paths on the same cases: every line without a line break is a run.
TEST(GraphemeBreakTestFile, KernelsKeepEachClusterOfEveryRunWhole) {
  int runs = 0;
  for (const BreakCase& breakCase : ReadTestFile()) {
    if (breakCase.hasLineBreak) continue;
    const std::vector<std::size_t>& cuts = breakCase.boundaries;
    std::string expectedOrder;
    std::string expectedMirror = breakCase.text;
    for (std::size_t i = cuts.size() - 1; i > 0; --i) {
      expectedOrder += breakCase.text.substr(cuts[i - 1], cuts[i] - cuts[i - 1]);
      std::reverse(expectedMirror.begin() + static_cast<std::ptrdiff_t>(cuts[i - 1]),
                   expectedMirror.begin() + static_cast<std::ptrdiff_t>(cuts[i]));
    }
    std::string reversed(breakCase.text.size(), '\0');
    unicode::ReverseClusterOrder(breakCase.text, reversed);
    EXPECT_EQ(reversed, expectedOrder) << "line " << breakCase.lineNumber;
    std::string mirrored = breakCase.text;
    unicode::MirrorEachCluster(mirrored);
    EXPECT_EQ(mirrored, expectedMirror) << "line " << breakCase.lineNumber;
    ++runs;
  }
  EXPECT_EQ(runs, 473);
}

}  // namespace
}  // namespace quillon::testing
