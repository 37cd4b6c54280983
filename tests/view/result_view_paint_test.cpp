#include <QApplication>
#include <QScrollBar>
#include <string>

#include "tests/view/result_view_fixture.h"

namespace quillon::testing {
namespace {

using ResultViewPaintTest = ResultViewTest;

// Lines of 'X' whose lengths follow a pattern that tells neighbouring lines apart.
std::uint64_t PatternLength(std::uint64_t line) { return line * 5 % 11 + 1; }

std::string PatternText(std::uint64_t lines, std::string_view lineBreak) {
  std::string text;
  for (std::uint64_t line = 0; line < lines; ++line) {
    if (line > 0) text += lineBreak;
    text += std::string(PatternLength(line), 'X');
  }
  return text;
}

// The number of cells with ink at the start of an on-screen row, and whether any cell after
// them has ink too.
struct RowInk {
  int leading = 0;
  bool beyond = false;
};

TEST_F(ResultViewPaintTest, CtrlEndShowsTheLastLinesAndNothingPastTheEnd) {
  constexpr std::uint64_t kLines = 60;
  Show(PatternText(kLines, "\r\n"));
  const int rows = FullRows();
  ASSERT_GT(rows, 3);
  ASSERT_LT(rows, static_cast<int>(kLines));

  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{kLines - 1, PatternLength(kLines - 1)}));
  const std::uint64_t top = kLines - static_cast<std::uint64_t>(rows);
  EXPECT_EQ(view_->firstVisibleLine(), top);
  EXPECT_EQ(view_->verticalScrollBar()->value(), view_->verticalScrollBar()->maximum());

  const QImage image = Painted();
  for (int row = 0; row < rows; ++row) {
    const std::uint64_t length = PatternLength(top + static_cast<std::uint64_t>(row));
    for (int column = 0; column < 14; ++column)
      EXPECT_EQ(HasInk(image, row, column), static_cast<std::uint64_t>(column) < length) << "row " << row << ", column " << column;
  }
}

TEST_F(ResultViewPaintTest, RowsAfterTheLastLineStayEmpty) {
  Show("first\nsecond\rthird");
  const QImage image = Painted();
  const QRgb background = view_->palette().color(QPalette::Base).rgb();
  EXPECT_TRUE(HasInk(image, 2, 4));
  for (int y = 3 * LineHeight(); y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y), background) << x << ", " << y;
  // Nor is anything painted after a line's end.
  EXPECT_FALSE(HasInk(image, 0, 5));
  EXPECT_TRUE(HasInk(image, 1, 5));
  EXPECT_FALSE(HasInk(image, 1, 6));
}

TEST_F(ResultViewPaintTest, ColumnsOfAVeryLongLineArePaintedWhereTheyAreScrolledTo) {
  constexpr std::uint64_t kMarker = 2'500'000;
  std::string text(3'000'000, ' ');
  text[kMarker] = '#';
  text += "\nshort";
  Show(text);

  view_->setSelection({1, 0}, {0, kMarker + 5});
  const auto columns = static_cast<std::uint64_t>(view_->viewport()->width() / ColumnWidth());
  ASSERT_GT(columns, 10u);
  // Just far enough for the caret to be in sight at the right edge.
  const std::uint64_t left = view_->firstVisibleColumn();
  ASSERT_EQ(left, kMarker + 5 + 1 - columns);
  view_->setSelection({0, kMarker + 5}, {0, kMarker + 5});
  const QImage image = Painted();
  const int markerCell = static_cast<int>(kMarker - left);
  EXPECT_TRUE(HasInk(image, 0, markerCell));
  EXPECT_FALSE(HasInk(image, 0, markerCell - 1));
  EXPECT_FALSE(HasInk(image, 0, markerCell + 1));
  EXPECT_FALSE(HasInk(image, 1, 0)) << "the short line lies left of the columns in sight";

  EXPECT_EQ(view_->horizontalScrollBar()->maximum(), static_cast<int>(3'000'000 + 1 - columns));
}

TEST_F(ResultViewPaintTest, SelectionIsPaintedOverTheSelectedColumnsAndBreaks) {
  Show("abcdef\nghi\njklmno");
  view_->setSelection({0, 2}, {2, 3});
  const QImage image = Painted();
  EXPECT_FALSE(IsHighlighted(image, 0, 1));
  EXPECT_TRUE(IsHighlighted(image, 0, 2));
  EXPECT_TRUE(IsHighlighted(image, 0, 6)) << "the selected break";
  EXPECT_FALSE(IsHighlighted(image, 0, 7));
  EXPECT_TRUE(IsHighlighted(image, 1, 0));
  EXPECT_TRUE(IsHighlighted(image, 2, 2));
  EXPECT_FALSE(IsHighlighted(image, 2, 3));
}

TEST_F(ResultViewPaintTest, ScrollBarMovesTheLinesInSight) {
  Show(PatternText(200, "\n"));
  QScrollBar* bar = view_->verticalScrollBar();
  EXPECT_EQ(bar->maximum(), 200 - FullRows());
  bar->setValue(37);
  EXPECT_EQ(view_->firstVisibleLine(), 37u);
  const QImage image = Painted();
  const std::uint64_t length = PatternLength(37);
  EXPECT_TRUE(HasInk(image, 0, static_cast<int>(length) - 1));
  EXPECT_FALSE(HasInk(image, 0, static_cast<int>(length)));
}

}  // namespace
}  // namespace quillon::testing
