#include <QApplication>
#include <QEvent>
#include <QScrollBar>

#include "tests/view/result_view_fixture.h"

namespace quillon::testing {
namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

using ResultViewRefreshTest = ResultViewTest;

TEST_F(ResultViewRefreshTest, TakesInPublishedBytesAndRepaintsOnlyWhenLinesInSightChange) {
  Show("line 0\r");
  PaintCounter counter;
  view_->viewport()->installEventFilter(&counter);

  Append("\nline 1\n");
  view_->refresh();
  QApplication::processEvents();
  EXPECT_EQ(view_->lineCount(), 3u) << "the LF completes the CR LF";
  EXPECT_GE(counter.paints, 1);

  std::string many;
  for (int line = 2; line < 500; ++line) many += "line " + std::to_string(line) + "\n";
  Append(many);
  view_->refresh();
  QApplication::processEvents();
  EXPECT_EQ(view_->lineCount(), 501u);
  EXPECT_EQ(view_->verticalScrollBar()->maximum(), 501 - FullRows());

  // Lines added far below the ones in sight cost no paint.
  counter.paints = 0;
  Append("more\nand more\n");
  view_->refresh();
  QApplication::processEvents();
  EXPECT_EQ(view_->lineCount(), 503u);
  EXPECT_EQ(counter.paints, 0);

  // Nor does a refresh with nothing new.
  view_->refresh();
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  view_->viewport()->removeEventFilter(&counter);
}

TEST_F(ResultViewRefreshTest, ALargeGainShowsAtOnceFromTheIndexTheRunBuilt) {
  Show("");
  std::string lines;
  for (int line = 0; line < 20000; ++line) lines += std::string(99, 'x') + "\n";
  Append(lines);
  view_->refresh();
  EXPECT_EQ(view_->lineCount(), 20001u);
  EXPECT_EQ(view_->endPosition(), (TextPosition{20000, 0}));
  EXPECT_EQ(view_->text({19999, 97}, {20000, 0}), QStringLiteral("xx\n"));
}

TEST_F(ResultViewRefreshTest, NewTextStartsOverWithoutTheOldSelectionOrScrolling) {
  std::string text;
  for (int line = 0; line < 300; ++line) text += "old line\n";
  Show(text);
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_Up, Qt::ShiftModifier);
  ASSERT_TRUE(view_->hasSelection());
  ASSERT_GT(view_->firstVisibleLine(), 0u);

  ResetText("new\nXX");
  // Painted before the view has heard of the new text: nothing of the old one shows.
  QImage image = Painted();
  EXPECT_FALSE(HasInk(image, 0, 0));
  QApplication::processEvents();
  view_->refresh();
  EXPECT_EQ(view_->lineCount(), 2u);
  EXPECT_FALSE(view_->hasSelection());
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 0}));
  EXPECT_EQ(view_->firstVisibleLine(), 0u);
  EXPECT_EQ(view_->verticalScrollBar()->maximum(), 0);
  image = Painted();
  EXPECT_TRUE(HasInk(image, 1, 1));
  EXPECT_FALSE(HasInk(image, 1, 2));
}

}  // namespace
}  // namespace quillon::testing
