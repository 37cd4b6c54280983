#include "resultview/result_caret.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

class ResultCaretTest : public ::testing::Test {
 protected:
  // Lines "abc", "", "de", "fghij" with a break of each kind.
  const std::string text_ = "abc\r\n\rde\nfghij";
  const SpanByteSource source_{{text_.data(), text_.size()}};
  ResultIndex index_;
  ResultLines lines_{Indexed(index_, text_), source_};

  static const ResultIndex& Indexed(ResultIndex& index, const std::string& text) {
    index.Append({text.data(), text.size()});
    return index;
  }
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
