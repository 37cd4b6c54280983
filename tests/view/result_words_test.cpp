#include "resultview/result_words.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "resultview/result_cell_index.h"

namespace quillon {
namespace {

using Columns = std::pair<std::uint64_t, std::uint64_t>;

class ResultWordsTest : public ::testing::Test {
 protected:
  void Use(std::string text) {
    text_ = std::move(text);
    index_.Clear();
    index_.Append({text_.data(), text_.size()});
    source_ = std::make_unique<SpanByteSource>(std::span<const char>(text_.data(), text_.size()));
  }
  [[nodiscard]] ResultLines lines() const { return {index_, *source_}; }
  [[nodiscard]] Columns Word(std::uint64_t line, std::uint64_t column, std::uint64_t reach = kWordReach) const {
    const TextRange range = WordAt(lines(), {line, column}, reach);
    EXPECT_EQ(range.from.line, line);
    EXPECT_EQ(range.to.line, line);
    return {range.from.column, range.to.column};
  }

  std::string text_;
  ResultIndex index_;
  std::unique_ptr<SpanByteSource> source_;
};

TEST_F(ResultWordsTest, WordAtSelectsTheWordOrElseTheOneCharacter) {
  // "é", "ƒ", "²" and "½" are letters or numbers in Windows-1252; "×" and "…" are not.
  Use("  caf\xe9_2, x\n\nend \x83\xb2\xbd\xd7y\x85z");
  EXPECT_EQ(Word(0, 4), (Columns{2, 8}));
  EXPECT_EQ(Word(0, 2), (Columns{2, 8}));
  EXPECT_EQ(Word(0, 7), (Columns{2, 8})) << "the last character of the word";
  EXPECT_EQ(Word(0, 1), (Columns{1, 2})) << "a blank alone";
  EXPECT_EQ(Word(0, 8), (Columns{8, 9})) << "the comma alone";
  EXPECT_EQ(Word(0, 11), (Columns{10, 11})) << "after the end: the last word";
  EXPECT_EQ(Word(1, 0), (Columns{0, 0})) << "an empty line";
  EXPECT_EQ(Word(0, 5, 1), (Columns{4, 7})) << "no further than the reach";
  EXPECT_EQ(Word(2, 5), (Columns{4, 7})) << "letters and numbers above ASCII";
  EXPECT_EQ(Word(2, 7), (Columns{7, 8})) << "the multiplication sign alone";
  EXPECT_EQ(Word(2, 9), (Columns{9, 10})) << "the ellipsis alone";
  EXPECT_EQ(Word(2, 10), (Columns{10, 11}));
}

TEST_F(ResultWordsTest, WordAtInALongLineStopsAtTheReachEitherWay) {
  Use(std::string(std::size_t{1} << 20, 'a'));
  constexpr std::uint64_t kAt = 500'000;
  EXPECT_EQ(Word(0, kAt), (Columns{kAt - kWordReach, kAt + 1 + kWordReach}));
  EXPECT_EQ(Word(0, 10), (Columns{0, 11 + kWordReach}));
}

TEST_F(ResultWordsTest, WordRightGoesToTheStartOfTheNextWordAndCrossesBreaks) {
  // Lines "one two,, three", "" and "  x".
  Use("one two,, three\r\n\n  x");
  const ResultLines text = lines();
  struct Case {
    TextPosition from, to;
  };
  const Case cases[] = {
      {{0, 0}, {0, 4}},   // over the word and the blank after it
      {{0, 2}, {0, 4}},   // from inside a word
      {{0, 3}, {0, 4}},   // from a blank
      {{0, 4}, {0, 7}},   // punctuation starts a word of its own
      {{0, 7}, {0, 10}},  // a run of punctuation is passed at once
      {{0, 10}, {0, 15}},  // the last word: to the line's end
      {{0, 15}, {1, 0}},  // a line's end: the next line's start
      {{1, 0}, {2, 0}},
      {{2, 0}, {2, 2}},
      {{2, 2}, {2, 3}},
      {{2, 3}, {2, 3}},  // the text's end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from.line << ':' << c.from.column);
    EXPECT_EQ(WordRight(text, c.from), c.to);
  }
}

TEST_F(ResultWordsTest, WordLeftGoesToTheStartOfThisOrThePreviousWordAndCrossesBreaks) {
  Use("one two,, three\r\n\n  x");
  const ResultLines text = lines();
  struct Case {
    TextPosition from, to;
  };
  const Case cases[] = {
      {{2, 3}, {2, 2}},
      {{2, 2}, {2, 0}},  // only blanks before: the line's start
      {{2, 0}, {1, 0}},  // a line's start: the previous line's end
      {{1, 0}, {0, 15}},
      {{0, 15}, {0, 10}},
      {{0, 12}, {0, 10}},  // from inside a word
      {{0, 10}, {0, 7}},   // over the blank and the punctuation
      {{0, 7}, {0, 4}},
      {{0, 4}, {0, 0}},
      {{0, 0}, {0, 0}},  // the text's start
      {{0, 99}, {0, 10}},  // a column past the end counts as the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.from.line << ':' << c.from.column);
    EXPECT_EQ(WordLeft(text, c.from), c.to);
  }
}

TEST_F(ResultWordsTest, WordMovesInALongLineStopAfterTheReach) {
  Use("x " + std::string(std::size_t{1} << 20, 'a') + "\nb");
  const ResultLines text = lines();
  EXPECT_EQ(WordRight(text, {0, 2}), (TextPosition{0, 2 + kWordReach}));
  EXPECT_EQ(WordRight(text, {0, 2 + kWordReach}), (TextPosition{0, 2 + 2 * kWordReach}));
  const std::uint64_t end = 2 + (std::uint64_t{1} << 20);
  EXPECT_EQ(WordLeft(text, {0, end}), (TextPosition{0, end - kWordReach}));
  EXPECT_EQ(WordRight(text, {0, end - 3}), (TextPosition{0, end}));
  // Blanks count towards the reach too.
  Use(std::string(std::size_t{1} << 20, ' ') + "z");
  EXPECT_EQ(WordRight(lines(), {0, 0}), (TextPosition{0, kWordReach}));
  EXPECT_EQ(WordLeft(lines(), {0, 1 << 20}), (TextPosition{0, (1 << 20) - kWordReach}));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// UTF-8 text: words of any script, whole clusters, never a split one.
class ClusterWordsTest : public ::testing::Test {
 protected:
  ClusterWordsTest() : index_(64), cells_(64) {}
  void Use(std::string text) {
    text_ = std::move(text);
    index_.Append({text_.data(), text_.size()});
    cells_.Append({text_.data(), text_.size()});
    source_ = std::make_unique<SpanByteSource>(std::span<const char>(text_.data(), text_.size()));
  }
  [[nodiscard]] ResultLines lines() const { return {index_, &cells_, *source_, text_.size()}; }

  std::string text_;
  ResultIndex index_;
  ResultCellIndex cells_;
  std::unique_ptr<SpanByteSource> source_;
};

TEST_F(ClusterWordsTest, WordsAreClustersOfLettersNumbersAndMarksOfAnyScript) {
  // h é l l o _ w ö r l d _ 漢 字 3 _ 👍🏽 👍🏽 ! ideographic-space x
  // 0 1 4 5 6 7 8 9 11 12 13 14 15 18 21 22 23 31 39 40 43
  Use("he\xCC\x81llo w\xC3\xB6rld \xE6\xBC\xA2\xE5\xAD\x97" "3 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD!\xE3\x80\x80x");
  const auto word = [&](std::uint64_t column) {
    const TextRange range = WordAt(lines(), {0, column});
    return Columns{range.from.column, range.to.column};
  };
  EXPECT_EQ(word(0), (Columns{0, 7}));
  EXPECT_EQ(word(2), (Columns{0, 7})) << "a byte inside é";
  EXPECT_EQ(word(10), (Columns{8, 14}));
  EXPECT_EQ(word(18), (Columns{15, 22})) << "ideographs and a digit";
  EXPECT_EQ(word(23), (Columns{23, 31})) << "an emoji with its modifier, alone";
  EXPECT_EQ(word(26), (Columns{23, 31}));
  EXPECT_EQ(word(43), (Columns{43, 44}));

  EXPECT_EQ(WordRight(lines(), {0, 0}), (TextPosition{0, 8}));
  EXPECT_EQ(WordRight(lines(), {0, 15}), (TextPosition{0, 23}));
  EXPECT_EQ(WordRight(lines(), {0, 23}), (TextPosition{0, 43})) << "the emoji and '!' are one run of others, then the wide blank";
  EXPECT_EQ(WordLeft(lines(), {0, 43}), (TextPosition{0, 23}));
  EXPECT_EQ(WordLeft(lines(), {0, 23}), (TextPosition{0, 15}));
  EXPECT_EQ(WordLeft(lines(), {0, 4}), (TextPosition{0, 0}));
}

}  // namespace
}  // namespace quillon
