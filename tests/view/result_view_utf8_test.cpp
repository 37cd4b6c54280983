#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <string>
#include <vector>

#include "tests/view/result_view_fixture.h"

namespace quillon::testing {
namespace {

using ResultViewUtf8Test = ResultViewTest;

QString FromUtf8(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

const std::string kHan = "\xE6\xBC\xA2";                                       // 漢, two cells
const std::string kCharacter = "\xE5\xAD\x97";                                 // 字, two cells
const std::string kThumbsUpToned = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";          // 👍🏽
const std::string kGermanFlag = "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA";             // 🇩🇪
const std::string kEAcute = "e\xCC\x81";                                        // e + combining acute
const std::string kFamily = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";  // 👨‍👩‍👧

TEST_F(ResultViewUtf8Test, ArrowsStepOverWholeClustersAndShiftSelectsThemExactly) {
  const std::string line = "a" + kThumbsUpToned + kGermanFlag + kEAcute + kFamily + "x";
  ShowUtf8(line + "\r\nnext\rlast");
  view_->setFocus();
  const std::vector<std::uint64_t> starts = {0, 1, 9, 17, 20, 38, 39};
  for (std::size_t i = 1; i < starts.size(); ++i) {
    Key(Qt::Key_Right);
    ASSERT_EQ(view_->caretPosition(), (TextPosition{0, starts[i]})) << "step " << i;
  }
  Key(Qt::Key_Right);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{1, 0}));
  Key(Qt::Key_Left);
  for (std::size_t i = starts.size() - 1; i-- > 0;) {
    Key(Qt::Key_Left);
    ASSERT_EQ(view_->caretPosition(), (TextPosition{0, starts[i]})) << "step back to " << i;
  }

  // Shift+Right over the flag and the family: the copy holds their bytes, none split.
  view_->setSelection({0, 9}, {0, 9});
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), FromUtf8(kGermanFlag));
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), FromUtf8(kGermanFlag + kEAcute + kFamily));
  EXPECT_EQ(view_->primarySelectionText(), FromUtf8(kGermanFlag + kEAcute + kFamily));

  Key(Qt::Key_End);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, line.size()}));
  Key(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), FromUtf8(line));
  // Line breaks copy as LF, as for bytes.
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(CopyWithKeys(), FromUtf8(line + "\nnext\nlast"));
}

TEST_F(ResultViewUtf8Test, UpAndDownKeepTheCellNotTheByte) {
  ShowUtf8(kHan + kCharacter + "ab\nabcdef\n" + kHan + "x");
  view_->setFocus();
  view_->setSelection({0, 6}, {0, 6});  // after 漢字: cell 4
  Key(Qt::Key_Down);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{1, 4}));
  view_->setSelection({1, 3}, {1, 3});  // cell 3: inside 字 above, so at its start
  Key(Qt::Key_Up);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 3}));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // 漢x ends at cell 3: the caret goes to its end
  EXPECT_EQ(view_->caretPosition(), (TextPosition{2, 4}));
}

TEST_F(ResultViewUtf8Test, ClicksLandBetweenTheClustersNearestToThem) {
  ShowUtf8(kHan + kCharacter + "ab");
  // The left and right halves of 漢's second cell.
  Click(PointAt(0, 0));
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 0}));
  Click(PointAt(0, 1));
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 3}));
  Click(PointAt(0, 4));
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 6}));
  Click(PointAt(0, 30));
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 8}));
  Drag(PointAt(0, 1), PointAt(0, 3));
  EXPECT_EQ(CopyWithKeys(), FromUtf8(kCharacter));
}

TEST_F(ResultViewUtf8Test, DoubleClickSelectsWordsOfAnyScriptAndTripleClickTheLine) {
  const std::string line = "h" + kEAcute + "llo w\xC3\xB6rld " + kHan + kCharacter + " " + kFamily + "!";
  ShowUtf8(line);
  QWidget* viewport = view_->viewport();
  const auto doubleClick = [&](QPoint point) {
    Click(point);
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(point), viewport->mapToGlobal(QPointF(point)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(point), viewport->mapToGlobal(QPointF(point)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
  };
  // Cells: h é l l o _ w ö r l d _ 漢漢 字字 _ family family !
  doubleClick(PointAt(0, 1));
  EXPECT_EQ(CopyWithKeys(), FromUtf8("h" + kEAcute + "llo"));
  doubleClick(PointAt(0, 7));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("w\u00F6rld"));
  doubleClick(PointAt(0, 15));
  EXPECT_EQ(CopyWithKeys(), FromUtf8(kHan + kCharacter));
  doubleClick(PointAt(0, 18));
  EXPECT_EQ(CopyWithKeys(), FromUtf8(kFamily));
  // A third press on the same place takes the whole line.
  Click(PointAt(0, 18));
  EXPECT_EQ(CopyWithKeys(), FromUtf8(line));
}

TEST_F(ResultViewUtf8Test, WideGlyphsStayInTheirCellsAndTextAfterThemStartsOnTheGrid) {
  ShowUtf8(kHan + kCharacter + "ab\n" + kHan + " x\n" + kThumbsUpToned + " x\na\tb\n\x01\x7F" "c");
  const QImage image = Painted();
  // 漢字 fill cells 0 to 3, the ASCII after them cells 4 and 5.
  for (int cell = 0; cell < 6; ++cell) EXPECT_TRUE(HasInk(image, 0, cell)) << "cell " << cell;
  EXPECT_FALSE(HasInk(image, 0, 6));
  // The cell right of a two-cell glyph stays background: the glyph does not spill over.
  for (const int row : {1, 2}) {
    EXPECT_TRUE(HasInk(image, row, 0)) << "row " << row;
    EXPECT_FALSE(HasInk(image, row, 2)) << "row " << row;
    EXPECT_TRUE(HasInk(image, row, 3)) << "row " << row;
  }
  // A tab reaches the next stop of eight cells.
  EXPECT_TRUE(HasInk(image, 3, 0));
  for (int cell = 1; cell < 8; ++cell) EXPECT_FALSE(HasInk(image, 3, cell)) << "cell " << cell;
  EXPECT_TRUE(HasInk(image, 3, 8));
  // Controls show as markers of two cells each.
  for (int cell = 0; cell < 5; ++cell) EXPECT_TRUE(HasInk(image, 4, cell)) << "cell " << cell;
  EXPECT_FALSE(HasInk(image, 4, 5));
}

TEST_F(ResultViewUtf8Test, ALongLineOfWideCharactersScrollsSidewaysInCells) {
  constexpr std::uint64_t kCharacters = 1'000'000;
  std::string line;
  line.reserve(kCharacters * 3 + 1);
  for (std::uint64_t i = 0; i < kCharacters; ++i) line += kHan;
  ShowUtf8(line + "\nshort");
  const auto columns = static_cast<std::uint64_t>(view_->viewport()->width() / ColumnWidth());
  // The range holds every cell and the one after the end.
  EXPECT_EQ(static_cast<std::uint64_t>(view_->horizontalScrollBar()->maximum()), 2 * kCharacters + 1 - columns);

  const std::uint64_t target = 900'000;
  view_->setSelection({0, 3 * target}, {0, 3 * target});
  EXPECT_EQ(view_->firstVisibleColumn(), 2 * target + 1 - columns);
  // The ideograph before the caret is painted in the two cells left of it.
  const QImage image = Painted();
  const int caretCell = static_cast<int>(2 * target - view_->firstVisibleColumn());
  EXPECT_TRUE(HasInk(image, 0, caretCell - 1));
  EXPECT_TRUE(HasInk(image, 0, caretCell - 2));
  Key(Qt::Key_End);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 3 * kCharacters}));
}

}  // namespace
}  // namespace quillon::testing
