#include "bench/text_maker.h"
#include "unicode/utf8_validator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string_view>

namespace quillon::bench {
namespace {

// Checks the shape every text must have and returns how many lines it has.
std::size_t ExpectWellFormed(std::string_view text, LineBreak lineBreak, std::uint64_t bytes) {
  EXPECT_EQ(text.size(), bytes);
  const std::string_view lineEnd = lineBreak == LineBreak::CRLF ? "\r\n" : "\n";
  std::size_t lines = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t found = text.find(lineEnd, start);
    const std::size_t end = found == std::string_view::npos ? text.size() : found;
    const std::string_view line = text.substr(start, end - start);
    ++lines;
    if (found == std::string_view::npos) {
      // Only a text too short for one line with its break may end without one.
      EXPECT_LT(bytes, kShortestLine + lineEnd.size()) << "unterminated last line at " << start;
    } else {
      EXPECT_GE(line.size(), kShortestLine) << "at " << start;
      EXPECT_LE(line.size(), kLongestLine) << "at " << start;
    }
    for (const char c : line) {
      if (c < ' ' || c > '~') {
        ADD_FAILURE() << "byte " << static_cast<int>(static_cast<unsigned char>(c)) << " in the line at " << start;
        return lines;
      }
    }
    start = found == std::string_view::npos ? text.size() : found + lineEnd.size();
  }
  return lines;
}

TEST(TextMaker, MakesTheExactSizeInWholeLinesOfOneTo120Bytes) {
  for (const LineBreak lineBreak : {LineBreak::LF, LineBreak::CRLF}) {
    for (const std::uint64_t bytes : {1u, 2u, 3u, 4u, 119u, 120u, 121u, 122u, 123u, 124u, 125u, 240u, 241u, 242u, 243u, 244u, 245u, 4096u}) {
      SCOPED_TRACE(testing::Message() << bytes << " bytes, " << (lineBreak == LineBreak::CRLF ? "CR LF" : "LF"));
      ExpectWellFormed(MakeText(bytes, lineBreak), lineBreak, bytes);
    }
  }
}

TEST(TextMaker, LinesSpreadOverTheWholeRangeOfLengths) {
  const std::string text = MakeText(std::uint64_t{1} << 20, LineBreak::LF);
  const std::size_t lines = ExpectWellFormed(text, LineBreak::LF, text.size());
  const double averageWithBreak = static_cast<double>(text.size()) / static_cast<double>(lines);
  EXPECT_NEAR(averageWithBreak, 61.5, 1.5);
  std::size_t shortest = kLongestLine;
  std::size_t longest = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    shortest = std::min(shortest, end - start);
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  EXPECT_EQ(shortest, kShortestLine);
  EXPECT_EQ(longest, kLongestLine);
}

TEST(TextMaker, IsTheSameEveryTimeAndInEveryChunking) {
  const std::uint64_t bytes = 300'000;
  const std::string whole = MakeText(bytes, LineBreak::CRLF);
  EXPECT_EQ(MakeText(bytes, LineBreak::CRLF), whole);

  // Fill with ever-changing room, as a writer with a full buffer would.
  TextMaker maker(bytes, LineBreak::CRLF);
  std::string pieces;
  std::mt19937 random(7);
  std::string buffer(4 * kLineRoom, '\0');
  while (!maker.Done()) {
    const std::size_t room = kLineRoom + random() % (3 * kLineRoom);
    const std::size_t filled = maker.Fill(std::span<char>(buffer).first(room));
    ASSERT_GT(filled, 0u);
    pieces.append(buffer, 0, filled);
  }
  EXPECT_EQ(pieces, whole);
}

TEST(TextMaker, WritesTheSameTextToAFile) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("quillon-text-maker-" + std::to_string(::getpid()) + ".txt");
  const std::uint64_t bytes = (std::uint64_t{1} << 20) * 3 + 17;  // more than one write buffer
  WriteTextFile(path, bytes, LineBreak::LF);
  std::ifstream file(path, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  EXPECT_EQ(written, MakeText(bytes, LineBreak::LF));
}

TEST(TextMaker, Utf8TextsAreWellFormedToTheLastByteInLinesOfOneTo120Bytes) {
  const std::pair<Script, std::string_view> samples[] = {
      {Script::European, "\u00E9"}, {Script::Cjk, "\xE4"}, {Script::Emoji, "\U0001F3FD"}};
  for (const auto& [script, sample] : samples) {
    for (const std::uint64_t bytes : {1u, 2u, 3u, 121u, 122u, 4096u, 300'001u}) {
      SCOPED_TRACE(testing::Message() << bytes << " bytes, script " << static_cast<int>(script));
      const std::string text = MakeText(bytes, LineBreak::CRLF, script);
      EXPECT_EQ(text.size(), bytes);
      EXPECT_TRUE(unicode::IsValidUtf8(text));
      std::size_t start = 0;
      for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        EXPECT_GE(end - start, kShortestLine);
        EXPECT_LE(end - start, kLongestLine);
        start = end + 2;
      }
      if (bytes > 4096) {
        EXPECT_NE(text.find(sample), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace quillon::bench
