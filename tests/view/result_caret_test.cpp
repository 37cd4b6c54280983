#include "window/result_caret.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

class ResultCaretTest : public ::testing::Test {
 protected:
  // Lines "abc", "", "de", "fghij" with a break of each kind.
  const std::string text_ = "abc\r\n\rde\nfghij";
  ResultIndex index_;
  ResultLines lines_{index_, {text_.data(), text_.size()}};

  void SetUp() override { index_.Update(lines_.bytes, 0); }
};

TEST_F(ResultCaretTest, LeftAndRightCrossLineBreaks) {
  EXPECT_EQ(CaretRight(lines_, {0, 2}), (TextPosition{0, 3}));
  EXPECT_EQ(CaretRight(lines_, {0, 3}), (TextPosition{1, 0}));
  EXPECT_EQ(CaretRight(lines_, {1, 0}), (TextPosition{2, 0}));
  EXPECT_EQ(CaretRight(lines_, {3, 5}), (TextPosition{3, 5}));
  EXPECT_EQ(CaretLeft(lines_, {2, 0}), (TextPosition{1, 0}));
  EXPECT_EQ(CaretLeft(lines_, {1, 0}), (TextPosition{0, 3}));
  EXPECT_EQ(CaretLeft(lines_, {0, 0}), (TextPosition{0, 0}));
  // A column left past a line's end (after moving from a longer line) counts as the end.
  EXPECT_EQ(CaretLeft(lines_, {2, 40}), (TextPosition{2, 1}));
}

TEST_F(ResultCaretTest, VerticalMovesKeepTheWantedColumnAndStopAtTheEnds) {
  EXPECT_EQ(CaretVertical(lines_, {3, 4}, -1, 4), (TextPosition{2, 2}));
  EXPECT_EQ(CaretVertical(lines_, {2, 2}, -1, 4), (TextPosition{1, 0}));
  EXPECT_EQ(CaretVertical(lines_, {1, 0}, 2, 4), (TextPosition{3, 4}));
  EXPECT_EQ(CaretVertical(lines_, {1, 0}, 100, 1), (TextPosition{3, 1}));
  EXPECT_EQ(CaretVertical(lines_, {2, 0}, -100, 9), (TextPosition{0, 3}));
  EXPECT_EQ(CaretVertical(lines_, {2, 0}, INT64_MIN, 0), (TextPosition{0, 0}));
  EXPECT_EQ(CaretVertical(lines_, {2, 0}, INT64_MAX, 0), (TextPosition{3, 0}));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

TEST(WordAtTest, SelectsTheWordTheBlanksOrTheOneCharacter) {
  const std::string text = "  caf\xe9_2, x\n\nend";
  ResultIndex index;
  const ResultLines lines{index, {text.data(), text.size()}};
  index.Update(lines.bytes, 0);
  const auto word = [&lines](std::uint64_t line, std::uint64_t column, std::uint64_t reach = 4096) {
    const TextRange range = WordAt(lines, {line, column}, reach);
    return std::pair{range.from.column, range.to.column};
  };
  EXPECT_EQ(word(0, 4), (std::pair<std::uint64_t, std::uint64_t>{2, 8}));
  EXPECT_EQ(word(0, 2), (std::pair<std::uint64_t, std::uint64_t>{2, 8}));
  EXPECT_EQ(word(0, 1), (std::pair<std::uint64_t, std::uint64_t>{0, 2}));
  EXPECT_EQ(word(0, 8), (std::pair<std::uint64_t, std::uint64_t>{8, 9})) << "the comma alone";
  EXPECT_EQ(word(0, 11), (std::pair<std::uint64_t, std::uint64_t>{10, 11})) << "after the end: the last word";
  EXPECT_EQ(word(1, 0), (std::pair<std::uint64_t, std::uint64_t>{0, 0})) << "an empty line";
  EXPECT_EQ(word(0, 5, 1), (std::pair<std::uint64_t, std::uint64_t>{4, 7})) << "no further than the reach";
  EXPECT_EQ(WordAt(lines, {2, 1}).from, (TextPosition{2, 0}));
}

}  // namespace
}  // namespace quillon
