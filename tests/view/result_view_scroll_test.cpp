#include <QAbstractSlider>
#include <QScrollBar>
#include <cmath>
#include <string>

#include "tests/view/result_view_fixture.h"
#include "resultview/result_scroll_scale.h"

namespace quillon::testing {
namespace {

using ResultViewScrollTest = ResultViewTest;

// The first position from `from` on that no bar value stands for exactly.
std::uint64_t BetweenBarValues(const ScrollScale& scale, std::uint64_t from) {
  while (scale.FromBar(scale.ToBar(from)) == from) ++from;
  return from;
}

TEST_F(ResultViewScrollTest, AStepOnOneScaledBarLeavesTheOtherAxisWhereItIs) {
  constexpr std::uint64_t kLines = 400;
  constexpr std::uint64_t kWidth = 400;
  std::string text;
  for (std::uint64_t line = 0; line < kLines; ++line) text += std::string(kWidth, 'x') + '\n';
  text.pop_back();
  // Far fewer bar steps than lines and columns, as with more than 2^30 of either.
  ResultViewLimits limits;
  limits.scrollBarSteps = 50;
  Show(text, {420, 220}, limits);
  const auto rows = static_cast<std::uint64_t>(FullRows());
  const auto columns = static_cast<std::uint64_t>(std::floor(view_->viewport()->width() / ColumnWidth()));
  const ScrollScale vertical(kLines - rows, limits.scrollBarSteps);
  const ScrollScale horizontal(kWidth + 1 - columns, limits.scrollBarSteps);
  ASSERT_EQ(view_->verticalScrollBar()->maximum(), 50);
  ASSERT_EQ(view_->horizontalScrollBar()->maximum(), 50);

  // Scrolled by the caret to a line and a column that neither bar can show exactly.
  const std::uint64_t top = BetweenBarValues(vertical, 200);
  const std::uint64_t left = BetweenBarValues(horizontal, 200);
  const auto scrollTo = [&] {
    view_->setSelection({}, {});
    view_->setSelection({top + rows - 1, left + columns - 1}, {top + rows - 1, left + columns - 1});
    ASSERT_EQ(view_->firstVisibleLine(), top);
    ASSERT_EQ(view_->firstVisibleColumn(), left);
  };

  scrollTo();
  view_->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view_->firstVisibleLine(), top);
  EXPECT_GT(view_->firstVisibleColumn(), left);

  scrollTo();
  view_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(view_->firstVisibleColumn(), left);
  EXPECT_LT(view_->firstVisibleLine(), top);
}

}  // namespace
}  // namespace quillon::testing
