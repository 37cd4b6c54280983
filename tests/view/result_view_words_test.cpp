#include <QApplication>
#include <QChar>
#include <QMouseEvent>
#include <cmath>

#include "tests/view/result_view_fixture.h"
#include "resultview/cp1252.h"
#include "resultview/result_word_bytes.h"

namespace quillon::testing {
namespace {

TEST(ResultWordBytesTest, WordBytesAreTheLettersAndNumbersTheyShowAsAndUnderscore) {
  for (int byte = 0; byte < 256; ++byte) {
    const auto value = static_cast<unsigned char>(byte);
    const bool expected = byte == '_' || QChar(Cp1252ToUnicode(value)).isLetterOrNumber();
    EXPECT_EQ(IsWordByte(value), expected) << "byte " << byte;
  }
}

class ResultViewWordsTest : public ResultViewTest {
 protected:
  // A point on the right half of the cell of on-screen (row, column): nearer to the place
  // after that character than before it.
  [[nodiscard]] QPoint RightHalfOf(std::uint64_t row, std::uint64_t column) const {
    const auto x = static_cast<int>(std::floor((static_cast<qreal>(column) + 0.8) * ColumnWidth()));
    return {x, static_cast<int>(row) * LineHeight() + LineHeight() / 2};
  }

  void Send(QEvent::Type type, QPoint point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = view_->viewport();
    QMouseEvent event(type, QPointF(point), viewport->mapToGlobal(QPointF(point)), Qt::LeftButton, buttons, modifiers);
    QApplication::sendEvent(viewport, &event);
  }

  // What the system sends for a double click: press, release, double click, release.
  void DoubleClick(QPoint point) {
    Click(point);
    Send(QEvent::MouseButtonDblClick, point, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, point, Qt::NoButton);
  }

  void TripleClick(QPoint point) {
    DoubleClick(point);
    Click(point);
  }

  [[nodiscard]] std::pair<TextPosition, TextPosition> Selection() const {
    return {view_->selectionAnchor(), view_->caretPosition()};
  }
};

using Selected = std::pair<TextPosition, TextPosition>;

TEST_F(ResultViewWordsTest, DoubleClickSelectsTheWordOrTheCharacterUnderThePointer) {
  Show("first line\nhello world,  again_2 caf\xe9");
  struct Case {
    QPoint point;
    QString selected;
  };
  const Case cases[] = {
      {PointAt(1, 8), QStringLiteral("world")},
      // The pointer over the right half of a word's last character is still over the word.
      {RightHalfOf(1, 4), QStringLiteral("hello")},
      {RightHalfOf(1, 10), QStringLiteral("world")},
      {PointAt(1, 11), QStringLiteral(",")},
      {PointAt(1, 12), QStringLiteral(" ")},
      {RightHalfOf(1, 13), QStringLiteral(" ")},
      {PointAt(1, 16), QStringLiteral("again_2")},
      {PointAt(1, 24), QString::fromUtf16(u"caf\u00e9")},
      {PointAt(0, 30), QStringLiteral("line")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected.toStdString());
    DoubleClick(c.point);
    EXPECT_EQ(CopyWithKeys(), c.selected);
  }
}

TEST_F(ResultViewWordsTest, TripleClickSelectsTheLineWithoutItsBreakAndShiftClickExtends) {
  Show("first line\r\nhello world, again\nlast");
  TripleClick(PointAt(1, 8));
  EXPECT_EQ(Selection(), (Selected{{1, 0}, {1, 18}}));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("hello world, again"));

  Click(PointAt(2, 2), Qt::ShiftModifier);
  EXPECT_EQ(Selection(), (Selected{{1, 0}, {2, 2}}));

  DoubleClick(PointAt(1, 14));
  Click(PointAt(0, 1), Qt::ShiftModifier);
  EXPECT_EQ(Selection(), (Selected{{1, 13}, {0, 1}})) << "a shift click after a double click extends";

  // A click elsewhere after a double click is a click.
  DoubleClick(PointAt(1, 2));
  Click(PointAt(2, 1));
  EXPECT_EQ(Selection(), (Selected{{2, 1}, {2, 1}}));

  TripleClick(PointAt(0, 3));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("first line"));
  TripleClick(PointAt(2, 30));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("last"));
}

TEST_F(ResultViewWordsTest, CtrlLeftAndRightMoveByWordsAndShiftExtends) {
  Show("one two, three\nfour");
  Click(PointAt(0, 0));
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(Selection(), (Selected{{0, 4}, {0, 4}}));
  Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Selection(), (Selected{{0, 4}, {0, 9}}));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("two, "));
  Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Selection(), (Selected{{0, 4}, {1, 0}}));
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Selection(), (Selected{{0, 14}, {0, 14}})) << "without Shift the selection goes";
  Key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("three"));
  // Up and Down then aim for the column the caret went to.
  Key(Qt::Key_Down);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{1, 4}));
  Key(Qt::Key_Left, Qt::ControlModifier);
  Key(Qt::Key_Up);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 0}));
}

}  // namespace
}  // namespace quillon::testing
