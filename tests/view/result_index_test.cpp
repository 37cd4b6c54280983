#include "window/result_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

#include "tests/view/reference_lines.h"

namespace quillon {
namespace {

using testing::ReferenceLine;
using testing::SplitLines;

std::span<const char> Bytes(const std::string& text) { return {text.data(), text.size()}; }

// Checks the queries of `index`, built over `text`, against the plain split of the text: the
// position of every offset, or only of those in the last line.
void ExpectMatchesReference(const ResultIndex& index, const std::string& text, bool everyOffset = true) {
  const std::vector<ReferenceLine> lines = SplitLines(text);
  const std::span<const char> bytes = Bytes(text);
  ASSERT_EQ(index.IndexedSize(), text.size());
  ASSERT_EQ(index.LineCount(), lines.size());
  std::uint64_t longest = 0;
  for (std::size_t line = 0; line < lines.size(); ++line) {
    SCOPED_TRACE("line " + std::to_string(line));
    ASSERT_EQ(index.LineStart(bytes, line), lines[line].start);
    ASSERT_EQ(index.LineEnd(bytes, line), lines[line].end);
    ASSERT_EQ(index.LineLength(bytes, line), lines[line].end - lines[line].start);
    ASSERT_EQ(index.OffsetOf(bytes, {line, 0}), lines[line].start);
    ASSERT_EQ(index.OffsetOf(bytes, {line, text.size() + 5}), lines[line].end);
    longest = std::max<std::uint64_t>(longest, lines[line].end - lines[line].start);
    const bool checkOffsets = everyOffset || line + 1 == lines.size();
    for (std::size_t offset = lines[line].start; checkOffsets && offset <= lines[line].end; ++offset) {
      const TextPosition expected{line, offset - lines[line].start};
      ASSERT_EQ(index.PositionOf(bytes, offset), expected) << "offset " << offset;
    }
    // The LF of a CR LF lies inside the break: it belongs to the end of the line.
    if (lines[line].end + 1 < text.size() && text[lines[line].end] == '\r' && text[lines[line].end + 1] == '\n') {
      const TextPosition expected{line, lines[line].end - lines[line].start};
      ASSERT_EQ(index.PositionOf(bytes, lines[line].end + 1), expected);
    }
  }
  EXPECT_EQ(index.LongestLineLength(), longest);
  EXPECT_THROW((void)index.LineStart(bytes, lines.size()), std::out_of_range);
  EXPECT_THROW((void)index.PositionOf(bytes, text.size() + 1), std::out_of_range);
}

// Text of lines whose lengths are drawn from up to `maxLine`, ended by every kind of break,
// with runs of breaks (empty lines) among them.
std::string RandomText(std::mt19937& random, std::size_t size, std::size_t maxLine) {
  static constexpr std::string_view kBreaks[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r", "\r\n\r\n", "\n\n"};
  std::uniform_int_distribution<std::size_t> lineLength(0, maxLine);
  std::uniform_int_distribution<std::size_t> breakKind(0, std::size(kBreaks) - 1);
  std::uniform_int_distribution<int> letter('!', '~');
  std::string text;
  while (text.size() < size) {
    for (std::size_t n = lineLength(random); n > 0; --n) text += static_cast<char>(letter(random));
    text += kBreaks[breakKind(random)];
  }
  text.resize(size);
  return text;
}

// Publishes `text` to a fresh index in random pieces, checking after each piece.
void IndexInPieces(const std::string& text, std::size_t spacing, std::mt19937& random) {
  ResultIndex index(spacing);
  std::uniform_int_distribution<std::size_t> piece(0, 400);
  std::size_t published = 0;
  while (published < text.size()) {
    published = std::min(text.size(), published + piece(random));
    index.Update({text.data(), published}, 0);
    ExpectMatchesReference(index, text.substr(0, published), published == text.size());
  }
}

TEST(ResultIndexTest, EmptyTextHasOneEmptyLine) {
  ResultIndex index;
  const std::string text;
  EXPECT_FALSE(index.Update(Bytes(text), 0));
  ExpectMatchesReference(index, text);
  EXPECT_EQ(index.PositionOf(Bytes(text), 0), (TextPosition{0, 0}));
}

TEST(ResultIndexTest, MatchesPlainSplitOnRandomTextsPublishedInPieces) {
  std::mt19937 random(20240611);
  for (const std::size_t spacing : {64, 128, 4096}) {
    for (const std::size_t maxLine : {0, 3, 20, 200}) {
      SCOPED_TRACE("spacing " + std::to_string(spacing) + ", lines up to " + std::to_string(maxLine));
      IndexInPieces(RandomText(random, 2000, maxLine), spacing, random);
    }
  }
}

TEST(ResultIndexTest, MatchesPlainSplitWhenPublishedWhole) {
  std::mt19937 random(7);
  for (const std::size_t spacing : {64, 4096}) {
    for (const std::size_t maxLine : {1, 70, 5000}) {
      const std::string text = RandomText(random, 20000, maxLine);
      ResultIndex index(spacing);
      EXPECT_TRUE(index.Update(Bytes(text), 0));
      ExpectMatchesReference(index, text);
    }
  }
}

TEST(ResultIndexTest, CrThenLfInTheNextPublishIsOneBreak) {
  const std::string text = "ab\r\ncd";
  ResultIndex index;
  index.Update({text.data(), 3}, 0);
  EXPECT_EQ(index.LineCount(), 2u);
  EXPECT_EQ(index.LineStart(Bytes(text), 1), 3u);
  EXPECT_EQ(index.LineLength(Bytes(text), 1), 0u);

  index.Update({text.data(), 4}, 0);
  EXPECT_EQ(index.LineCount(), 2u);
  EXPECT_EQ(index.LineStart(Bytes(text), 1), 4u);
  EXPECT_EQ(index.LongestLineLength(), 2u);

  index.Update(Bytes(text), 0);
  ExpectMatchesReference(index, text);
}

TEST(ResultIndexTest, BreaksAroundCheckpointsAndBlockEdges) {
  constexpr std::size_t kSpacing = 128;
  for (const std::string_view lineBreak : {"\r\n", "\n", "\r", "\r\r", "\n\n"}) {
    for (const std::size_t at : {62, 63, 64, 65, 126, 127, 128, 129, 255, 256}) {
      SCOPED_TRACE("break " + std::to_string(lineBreak.size()) + " bytes at " + std::to_string(at));
      std::string text(300, 'x');
      text.replace(at, lineBreak.size(), lineBreak);
      text.replace(10, 1, "\r");
      ResultIndex whole(kSpacing);
      whole.Update(Bytes(text), 0);
      ExpectMatchesReference(whole, text);

      // The same text published up to, between and after the break's bytes.
      ResultIndex pieces(kSpacing);
      for (const std::size_t end : {at, at + 1, at + 2, text.size()}) {
        pieces.Update({text.data(), end}, 0);
        ExpectMatchesReference(pieces, text.substr(0, end));
      }
    }
  }
}

TEST(ResultIndexTest, LinesOfMegabytesAreFoundFromCheckpoints) {
  std::string text(5'000'000, 'a');
  text[1'000'000] = '\r';
  text[1'000'001] = '\n';
  text[4'999'000] = '\r';
  text += "\nshort\n";
  ResultIndex index;
  const std::span<const char> bytes = Bytes(text);
  std::size_t published = 0;
  for (const std::size_t piece : {999'999, 2, 3'000'000, 1'500'000}) {
    published = std::min(text.size(), published + piece);
    index.Update({text.data(), published}, 0);
  }
  index.Update(bytes, 0);
  ASSERT_EQ(index.LineCount(), 5u);
  EXPECT_EQ(index.LineStart(bytes, 1), 1'000'002u);
  EXPECT_EQ(index.LineLength(bytes, 1), 4'999'000u - 1'000'002u);
  EXPECT_EQ(index.LineStart(bytes, 2), 4'999'001u);
  EXPECT_EQ(index.LineLength(bytes, 2), 999u);
  EXPECT_EQ(index.LineStart(bytes, 3), 5'000'001u);
  EXPECT_EQ(index.LineLength(bytes, 3), 5u);
  EXPECT_EQ(index.LongestLineLength(), 4'999'000u - 1'000'002u);
  EXPECT_EQ(index.PositionOf(bytes, 3'000'000), (TextPosition{1, 3'000'000 - 1'000'002}));
  EXPECT_EQ(index.PositionOf(bytes, 1'000'001), (TextPosition{0, 1'000'000}));
  EXPECT_EQ(index.OffsetOf(bytes, {1, 2'500'000}), 3'500'002u);
}

TEST(ResultIndexTest, LongestLineCountsAnUnendedLastLine) {
  std::string text = "abc\n";
  text += std::string(100, 'z');
  ResultIndex index(64);
  index.Update({text.data(), 50}, 0);
  EXPECT_EQ(index.LongestLineLength(), 46u);
  index.Update(Bytes(text), 0);
  EXPECT_EQ(index.LongestLineLength(), 100u);
}

TEST(ResultIndexTest, NewGenerationStartsOver) {
  const std::string first = "one\ntwo\nthree\n";
  const std::string second = "x\r\ny";
  ResultIndex index(64);
  index.Update(Bytes(first), 1);
  ASSERT_EQ(index.LineCount(), 4u);

  // A new run's text, shorter than the old one.
  EXPECT_TRUE(index.Update({second.data(), 2}, 2));
  EXPECT_EQ(index.generation(), 2u);
  ExpectMatchesReference(index, second.substr(0, 2));
  index.Update(Bytes(second), 2);
  ExpectMatchesReference(index, second);

  // Same length as before but another text: only the generation tells.
  const std::string third = "abcd";
  EXPECT_TRUE(index.Update(Bytes(third), 3));
  ExpectMatchesReference(index, third);
  EXPECT_FALSE(index.Update(Bytes(third), 3));
}

TEST(ResultIndexTest, RejectsMisuse) {
  EXPECT_THROW(ResultIndex(0), std::invalid_argument);
  EXPECT_THROW(ResultIndex(100), std::invalid_argument);
  const std::string text = "abc\ndef";
  ResultIndex index;
  index.Update(Bytes(text), 0);
  EXPECT_THROW(index.Update({text.data(), 3}, 0), std::logic_error);
  EXPECT_THROW((void)index.LineStart({text.data(), 3}, 1), std::logic_error);
}

}  // namespace
}  // namespace quillon
