#include "resultview/result_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "resultview/result_lines.h"
#include "tests/view/reference_lines.h"

namespace quillon {
namespace {

using testing::ReferenceLine;
using testing::SplitLines;

std::span<const char> Bytes(const std::string& text) { return {text.data(), text.size()}; }

// Gives `index` the bytes [from, to) of `text` as a buffer of their own, as a run's writer
// passes them, so that reading past the piece is caught.
void AppendPiece(ResultIndex& index, const std::string& text, std::size_t from, std::size_t to) {
  const std::string piece = text.substr(from, to - from);
  index.Append(Bytes(piece));
}

// Checks the lines of `index`, built over `text`, against the plain split of the text: the
// position of every offset, or only of those in the last line.
void ExpectMatchesReference(const ResultIndex& index, const std::string& text, bool everyOffset = true) {
  const std::vector<ReferenceLine> reference = SplitLines(text);
  const SpanByteSource source(Bytes(text));
  const ResultLines lines(index, source);
  ASSERT_EQ(lines.Size(), text.size());
  ASSERT_EQ(lines.Count(), reference.size());
  std::uint64_t longest = 0;
  for (std::size_t line = 0; line < reference.size(); ++line) {
    SCOPED_TRACE("line " + std::to_string(line));
    ASSERT_EQ(lines.Start(line), reference[line].start);
    ASSERT_EQ(lines.LineEnd(line), reference[line].end);
    ASSERT_EQ(lines.Length(line), reference[line].end - reference[line].start);
    ASSERT_EQ(lines.Offset({line, 0}), reference[line].start);
    ASSERT_EQ(lines.Offset({line, text.size() + 5}), reference[line].end);
    longest = std::max<std::uint64_t>(longest, reference[line].end - reference[line].start);
    const bool checkOffsets = everyOffset || line + 1 == reference.size();
    for (std::size_t offset = reference[line].start; checkOffsets && offset <= reference[line].end; ++offset) {
      const TextPosition expected{line, offset - reference[line].start};
      ASSERT_EQ(lines.PositionOf(offset), expected) << "offset " << offset;
    }
    // The LF of a CR LF lies inside the break: it belongs to the end of the line.
    const std::size_t end = reference[line].end;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
      const TextPosition expected{line, end - reference[line].start};
      ASSERT_EQ(lines.PositionOf(end + 1), expected);
    }
  }
  EXPECT_EQ(lines.LongestLength(), longest);
  EXPECT_THROW((void)lines.Start(reference.size()), std::out_of_range);
  EXPECT_THROW((void)lines.PositionOf(text.size() + 1), std::out_of_range);
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

// Gives `text` to a fresh index in random pieces, checking after each piece.
void IndexInPieces(const std::string& text, std::size_t spacing, std::mt19937& random) {
  ResultIndex index(spacing);
  std::uniform_int_distribution<std::size_t> piece(0, 400);
  std::size_t published = 0;
  while (published < text.size()) {
    const std::size_t next = std::min(text.size(), published + piece(random));
    AppendPiece(index, text, published, next);
    published = next;
    ExpectMatchesReference(index, text.substr(0, published), published == text.size());
  }
}

TEST(ResultIndexTest, EmptyTextHasOneEmptyLine) {
  ResultIndex index;
  const std::string text;
  index.Append(Bytes(text));
  ExpectMatchesReference(index, text);
  const SpanByteSource source(Bytes(text));
  EXPECT_EQ(ResultLines(index, source).PositionOf(0), (TextPosition{0, 0}));
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

// As a run's window takes its output: each piece prepared on the thread that makes it, some
// pieces ahead, and counted in on another once written. Only what is counted in shows.
TEST(ResultIndexTest, PiecesPreparedAheadShowOnlyOnceCountedIn) {
  std::mt19937 random(20261209);
  const std::string text = RandomText(random, 6000, 90);
  std::vector<std::size_t> ends;
  for (std::size_t at = 0; at < text.size();) ends.push_back(at = std::min(text.size(), at + random() % 700));
  ResultIndex index(128);
  std::jthread preparer([&] {
    std::size_t from = 0;
    for (const std::size_t end : ends) {
      const std::string piece = text.substr(from, end - from);
      index.Prepare(Bytes(piece));
      from = end;
    }
  });
  for (const std::size_t end : ends) {
    while (!index.PublishNext()) std::this_thread::yield();
    ExpectMatchesReference(index, text.substr(0, end), end == text.size());
  }
  preparer.join();
  EXPECT_FALSE(index.PublishNext()) << "nothing is left to count in";
}

TEST(ResultIndexTest, MatchesPlainSplitWhenPublishedWhole) {
  std::mt19937 random(7);
  for (const std::size_t spacing : {64, 4096}) {
    for (const std::size_t maxLine : {1, 70, 5000}) {
      const std::string text = RandomText(random, 20000, maxLine);
      ResultIndex index(spacing);
      index.Append(Bytes(text));
      ExpectMatchesReference(index, text);
    }
  }
}

TEST(ResultIndexTest, CrThenLfInTheNextPublishIsOneBreak) {
  const std::string text = "ab\r\ncd";
  const SpanByteSource source(Bytes(text));
  ResultIndex index;
  AppendPiece(index, text, 0, 3);
  EXPECT_EQ(ResultLines(index, source).Count(), 2u);
  EXPECT_EQ(ResultLines(index, source).Start(1), 3u);
  EXPECT_EQ(ResultLines(index, source).Length(1), 0u);

  AppendPiece(index, text, 3, 4);
  EXPECT_EQ(ResultLines(index, source).Count(), 2u);
  EXPECT_EQ(ResultLines(index, source).Start(1), 4u);
  EXPECT_EQ(index.Indexed().longestLine, 2u);

  AppendPiece(index, text, 4, text.size());
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
      whole.Append(Bytes(text));
      ExpectMatchesReference(whole, text);

      // The same text written up to, between and after the break's bytes.
      ResultIndex pieces(kSpacing);
      std::size_t written = 0;
      for (const std::size_t end : {at, at + 1, at + 2, text.size()}) {
        AppendPiece(pieces, text, written, end);
        written = end;
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
  std::size_t published = 0;
  for (const std::size_t piece : {999'999, 2, 3'000'000, 1'500'000, 10}) {
    const std::size_t next = std::min(text.size(), published + piece);
    AppendPiece(index, text, published, next);
    published = next;
  }
  const SpanByteSource source(Bytes(text));
  const ResultLines lines(index, source);
  ASSERT_EQ(lines.Count(), 5u);
  EXPECT_EQ(lines.Start(1), 1'000'002u);
  EXPECT_EQ(lines.Length(1), 4'999'000u - 1'000'002u);
  EXPECT_EQ(lines.Start(2), 4'999'001u);
  EXPECT_EQ(lines.Length(2), 999u);
  EXPECT_EQ(lines.Start(3), 5'000'001u);
  EXPECT_EQ(lines.Length(3), 5u);
  EXPECT_EQ(lines.LongestLength(), 4'999'000u - 1'000'002u);
  EXPECT_EQ(lines.PositionOf(3'000'000), (TextPosition{1, 3'000'000 - 1'000'002}));
  EXPECT_EQ(lines.PositionOf(1'000'001), (TextPosition{0, 1'000'000}));
  EXPECT_EQ(lines.Offset({1, 2'500'000}), 3'500'002u);
}

TEST(ResultIndexTest, LongestLineCountsAnUnendedLastLine) {
  std::string text = "abc\n";
  text += std::string(100, 'z');
  ResultIndex index(64);
  AppendPiece(index, text, 0, 50);
  EXPECT_EQ(index.Indexed().longestLine, 46u);
  AppendPiece(index, text, 50, text.size());
  EXPECT_EQ(index.Indexed().longestLine, 100u);
}

TEST(ResultIndexTest, ClearStartsOver) {
  const std::string first = "one\ntwo\nthree\n";
  const std::string second = "x\r\ny";
  ResultIndex index(64);
  index.Append(Bytes(first));

  // A new run's text, shorter than the old one: nothing of the old one's breaks is left.
  index.Clear();
  AppendPiece(index, second, 0, 2);
  ExpectMatchesReference(index, second.substr(0, 2));
  AppendPiece(index, second, 2, second.size());
  ExpectMatchesReference(index, second);
}

TEST(ResultIndexTest, OddWriteSizesGiveTheLinesOfOnePiece) {
  std::mt19937 random(42);
  // Long enough for every size below to cross checkpoints; CR LF pairs fall across edges.
  const std::string text = RandomText(random, 30000, 90);
  for (const std::size_t spacing : {64, 4096}) {
    for (const std::size_t pieceSize : {1, 3, 63, 4095, 4097}) {
      SCOPED_TRACE("spacing " + std::to_string(spacing) + ", pieces of " + std::to_string(pieceSize));
      ResultIndex index(spacing);
      for (std::size_t at = 0; at < text.size(); at += pieceSize) AppendPiece(index, text, at, std::min(text.size(), at + pieceSize));
      ExpectMatchesReference(index, text, false);
    }
  }
}

TEST(ResultIndexTest, CutShortTextHasOnlyTheLinesBeforeItsEnd) {
  std::mt19937 random(5);
  const std::string text = RandomText(random, 9000, 50);
  ResultIndex index(128);
  index.Append(Bytes(text));
  const SpanByteSource source(Bytes(text));
  for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{127}, std::size_t{128}, std::size_t{4000}, text.size() - 1}) {
    SCOPED_TRACE("cut to " + std::to_string(size));
    const std::string kept = text.substr(0, size);
    const std::vector<ReferenceLine> reference = SplitLines(kept);
    const ResultLines lines(index, source, size);
    ASSERT_EQ(lines.Count(), reference.size());
    EXPECT_EQ(lines.End(), (TextPosition{reference.size() - 1, reference.back().end - reference.back().start}));
    EXPECT_EQ(lines.Start(reference.size() - 1), reference.back().start);
    std::string out(10, '?');
    EXPECT_EQ(lines.Read(size, out), 0u);
  }
}

TEST(ResultIndexTest, BytesThatNoLongerMatchTheIndexStayWithinTheText) {
  std::mt19937 random(9);
  const std::string text = RandomText(random, 5000, 40);
  ResultIndex index(64);
  index.Append(Bytes(text));
  // The same size, but the breaks gone or moved: every answer must still lie in the text.
  for (const std::string& changed : {std::string(text.size(), 'x'), std::string(text.size(), '\n'), RandomText(random, 5000, 40)}) {
    const SpanByteSource source(Bytes(changed));
    const ResultLines lines(index, source);
    for (std::uint64_t line = 0; line < lines.Count(); ++line) {
      const std::uint64_t start = lines.Start(line);
      ASSERT_LE(start, changed.size());
      ASSERT_LE(lines.LineEnd(line), changed.size());
      ASSERT_LE(start + lines.Length(line), changed.size());
    }
    EXPECT_LE(lines.Offset(lines.End()), changed.size());
  }
}

TEST(ResultIndexTest, RejectsMisuse) {
  EXPECT_THROW(ResultIndex(0), std::invalid_argument);
  EXPECT_THROW(ResultIndex(100), std::invalid_argument);
}

}  // namespace
}  // namespace quillon
