#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

#include "tests/view/result_view_fixture.h"

namespace quillon::testing {
namespace {

using ResultViewCopyTest = ResultViewTest;

// Lines "ab", "cd", "ef" and "gh", ended by CR LF, LF and a lone CR.
constexpr std::string_view kFourLines = "ab\r\ncd\nef\rgh";

TEST_F(ResultViewCopyTest, DragFromMidLineToMidLineCopiesAcrossEveryKindOfBreak) {
  Show(kFourLines);
  struct Case {
    std::uint64_t fromLine, fromColumn, toLine, toColumn;
    QString copied;
  };
  const Case cases[] = {
      {0, 1, 1, 1, QStringLiteral("b\nc")},         // CR LF
      {1, 1, 2, 1, QStringLiteral("d\ne")},         // LF
      {2, 1, 3, 1, QStringLiteral("f\ng")},         // lone CR
      {0, 1, 3, 1, QStringLiteral("b\ncd\nef\ng")},  // all three
      {3, 1, 0, 1, QStringLiteral("b\ncd\nef\ng")},  // dragged upwards
      {0, 0, 0, 2, QStringLiteral("ab")},
      {1, 2, 2, 0, QStringLiteral("\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.copied.toStdString());
    Drag(PointAt(c.fromLine, c.fromColumn), PointAt(c.toLine, c.toColumn));
    EXPECT_EQ(view_->selectionAnchor(), (TextPosition{c.fromLine, c.fromColumn}));
    EXPECT_EQ(view_->caretPosition(), (TextPosition{c.toLine, c.toColumn}));
    EXPECT_EQ(CopyWithKeys(), c.copied);
  }
}

TEST_F(ResultViewCopyTest, ShiftClickAndShiftArrowsExtendTheSelection) {
  Show(kFourLines);
  Click(PointAt(1, 1));
  Click(PointAt(3, 1), Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("d\nef\ng"));

  Click(PointAt(0, 1));
  EXPECT_FALSE(view_->hasSelection());
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("untouched")) << "nothing selected, nothing copied";
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("b\ncd"));
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("b\ncd\n"));
  Key(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("b\ncd\nef"));
  Key(Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("a"));
  // A move without Shift drops the selection.
  Key(Qt::Key_Right);
  EXPECT_FALSE(view_->hasSelection());
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 1}));
}

TEST_F(ResultViewCopyTest, LeftAndRightWithoutShiftCollapseTheSelectionToItsStartOrEnd) {
  Show(kFourLines);
  struct Case {
    TextPosition anchor, caret;
    int key;
    TextPosition expected;
  };
  const Case cases[] = {
      {{0, 1}, {2, 1}, Qt::Key_Left, {0, 1}},
      {{2, 1}, {0, 1}, Qt::Key_Left, {0, 1}},
      {{0, 1}, {2, 1}, Qt::Key_Right, {2, 1}},
      {{2, 1}, {0, 1}, Qt::Key_Right, {2, 1}},
      // At a line's end and start, where a move from the caret would cross the break.
      {{0, 2}, {1, 0}, Qt::Key_Left, {0, 2}},
      {{1, 0}, {0, 2}, Qt::Key_Right, {1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.anchor.line << ':' << c.anchor.column << " to " << c.caret.line << ':'
                                    << c.caret.column << " key " << c.key);
    view_->setSelection(c.anchor, c.caret);
    Key(c.key);
    EXPECT_EQ(view_->caretPosition(), c.expected);
    EXPECT_FALSE(view_->hasSelection());
  }
  // Up and Down then aim for the column the caret went to.
  view_->setSelection({0, 1}, {1, 2});
  Key(Qt::Key_Left);
  Key(Qt::Key_Down);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{1, 1}));
  // Without a selection the caret moves by one.
  Key(Qt::Key_Left);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{1, 0}));
  Key(Qt::Key_Left);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 2}));
}

TEST_F(ResultViewCopyTest, UpAndDownKeepTheColumnAcrossShortLines) {
  Show("abcdef\nx\nabcdef");
  Click(PointAt(0, 4));
  Key(Qt::Key_Down);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{1, 1}));
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{2, 4}));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("\nabcd"));
  Key(Qt::Key_PageUp);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{0, 4}));
  Key(Qt::Key_PageDown, Qt::ShiftModifier);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{2, 4}));
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("ef\nx\nabcd"));
}

TEST_F(ResultViewCopyTest, DoubleClickSelectsAWord) {
  Show("first line\nhello world, again");
  const QPoint point = PointAt(1, 8);
  QWidget* viewport = view_->viewport();
  const QPointF global = viewport->mapToGlobal(QPointF(point));
  Click(point);
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(point), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &doubleClick);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(point), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("world"));
}

TEST_F(ResultViewCopyTest, SelectAllCopiesTheCharactersShown) {
  Show("caf\xe9 \x80\x81\x9d\r\n\tend\r");
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(view_->selectionAnchor(), (TextPosition{0, 0}));
  EXPECT_EQ(view_->caretPosition(), (TextPosition{2, 0}));
  const QString shown = QString::fromUtf16(u"caf\u00e9 \u20ac\u0081\u009d\n\tend\n");
  EXPECT_EQ(CopyWithKeys(), shown);
  EXPECT_EQ(view_->endPosition(), (TextPosition{2, 0}));
  EXPECT_EQ(view_->text(view_->endPosition(), {}), shown);
  EXPECT_EQ(view_->text({0, 2}, {1, 1}), QString::fromUtf16(u"f\u00e9 \u20ac\u0081\u009d\n\t"));
}

TEST_F(ResultViewCopyTest, ContextMenuOffersCopyAndSelectAll) {
  Show(kFourLines);
  std::unique_ptr<QMenu> menu = view_->createContextMenu();
  QList<QAction*> actions;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) actions.append(action);
  ASSERT_EQ(actions.size(), 2);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("&Copy"));
  EXPECT_FALSE(actions[0]->isEnabled()) << "nothing is selected yet";
  EXPECT_EQ(actions[1]->text(), QStringLiteral("Select &All"));

  actions[1]->trigger();
  EXPECT_TRUE(view_->hasSelection());
  menu = view_->createContextMenu();
  QAction* copy = menu->actions().first();
  ASSERT_TRUE(copy->isEnabled());
  QApplication::clipboard()->clear();
  copy->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ab\ncd\nef\ngh"));
}

TEST_F(ResultViewCopyTest, SelectionOverTheLimitShowsAMessageAndCopiesNothing) {
  constexpr std::size_t kLimit = 8;
  Show("0123\r\n567\n9abcdef", {420, 220}, {.copyBytes = kLimit});

  // Eight bytes, the CR LF counted as two: within the limit.
  view_->setSelection({0, 0}, {1, 2});
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("0123\n56"));

  QString title;
  QString message;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    message = box->text();
    box->accept();
  });
  view_->setSelection({0, 0}, {1, 3});
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("untouched"));
  EXPECT_EQ(title, QStringLiteral("Quillon"));
  EXPECT_TRUE(message.contains(QStringLiteral("output file"))) << message.toStdString();
}

TEST_F(ResultViewCopyTest, LargeCopiesReadTheFileInPiecesWithoutSplittingACrLf) {
  // The copy reads a mebibyte at a time: the CR ends the first piece, its LF starts the next.
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::string text(kPiece - 1, 'a');
  text += "\r\nb\rc";
  text += std::string(kPiece, '\x80');
  Show(text);
  view_->selectAll();
  const QString copied = CopyWithKeys();
  ASSERT_EQ(copied.size(), static_cast<qsizetype>(text.size() - 1));
  EXPECT_EQ(copied.mid(static_cast<qsizetype>(kPiece) - 2, 6), QStringLiteral("a\nb\nc") + QChar(0x20AC));
  EXPECT_EQ(copied.back(), QChar(0x20AC));
}

}  // namespace
}  // namespace quillon::testing
