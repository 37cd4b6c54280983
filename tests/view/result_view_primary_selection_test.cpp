#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>

#include "tests/view/result_view_fixture.h"

namespace quillon::testing {
namespace {

class ResultViewPrimarySelectionTest : public ResultViewTest {
 protected:
  void Show(std::string_view bytes, ResultViewLimits limits = {}) {
    ResultViewTest::Show(bytes, {420, 220}, limits);
    view_->setPrimarySelectionTarget([this](const QString& text) { offered_.append(text); });
  }

  void Send(QEvent::Type type, QPoint point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* viewport = view_->viewport();
    QMouseEvent event(type, QPointF(point), viewport->mapToGlobal(QPointF(point)), Qt::LeftButton, buttons, modifiers);
    QApplication::sendEvent(viewport, &event);
  }

  QStringList offered_;
};

TEST_F(ResultViewPrimarySelectionTest, ADragOffersItsSelectionWhenTheButtonIsReleasedOnly) {
  Show("ab\r\ncd\nef");
  Send(QEvent::MouseButtonPress, PointAt(0, 1), Qt::LeftButton);
  for (const QPoint point : {PointAt(0, 2), PointAt(1, 1), PointAt(2, 1)}) Send(QEvent::MouseMove, point, Qt::LeftButton);
  EXPECT_TRUE(view_->hasSelection());
  EXPECT_TRUE(offered_.isEmpty()) << "nothing while the mouse moves";
  Send(QEvent::MouseButtonRelease, PointAt(2, 1), Qt::NoButton);
  EXPECT_EQ(offered_, QStringList{QStringLiteral("b\ncd\ne")});

  // A click that selects nothing leaves the primary selection as it was.
  offered_.clear();
  Click(PointAt(1, 1));
  EXPECT_TRUE(offered_.isEmpty());
  Click(PointAt(2, 2), Qt::ShiftModifier);
  EXPECT_EQ(offered_, QStringList{QStringLiteral("d\nef")});
}

TEST_F(ResultViewPrimarySelectionTest, DoubleAndTripleClicksOfferTheWordAndTheLine) {
  Show("first line\nhello world");
  const QPoint point = PointAt(1, 7);
  Click(point);
  Send(QEvent::MouseButtonDblClick, point, Qt::LeftButton);
  EXPECT_TRUE(offered_.isEmpty()) << "not before the release";
  Send(QEvent::MouseButtonRelease, point, Qt::NoButton);
  EXPECT_EQ(offered_, QStringList{QStringLiteral("world")});
  Click(point);
  EXPECT_EQ(offered_, (QStringList{QStringLiteral("world"), QStringLiteral("hello world")}));
}

TEST_F(ResultViewPrimarySelectionTest, KeysOfferTheSelectionWhenTheyChangeIt) {
  Show("ab\ncd");
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_TRUE(offered_.isEmpty()) << "moves without a selection";
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(offered_, (QStringList{QStringLiteral("c"), QStringLiteral("ab\nc")}));
  offered_.clear();
  (void)CopyWithKeys();
  Key(Qt::Key_Home, Qt::ShiftModifier);  // already at the line's start
  EXPECT_TRUE(offered_.isEmpty()) << "the selection did not change";
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(offered_, QStringList{QStringLiteral("ab\ncd")});
  offered_.clear();
  Key(Qt::Key_Right);
  EXPECT_TRUE(offered_.isEmpty()) << "dropping the selection offers nothing";
  // Select All from the menu is picked with the mouse.
  const std::unique_ptr<QMenu> menu = view_->createContextMenu();
  menu->actions().last()->trigger();
  EXPECT_EQ(offered_, QStringList{QStringLiteral("ab\ncd")});
}

TEST_F(ResultViewPrimarySelectionTest, SelectionsOverTheLimitAreNotOfferedAndShowNoMessage) {
  constexpr std::size_t kLimit = 8;
  Show("0123\r\n567\n9abcdef", {.primarySelectionBytes = kLimit});
  // Eight bytes, the CR LF counted as two: within the limit.
  view_->setSelection({0, 0}, {1, 2});
  EXPECT_EQ(view_->primarySelectionText(), QStringLiteral("0123\n56"));
  view_->setSelection({0, 0}, {1, 3});
  EXPECT_EQ(view_->primarySelectionText(), std::nullopt);
  view_->setSelection({0, 0}, {0, 0});
  EXPECT_EQ(view_->primarySelectionText(), std::nullopt) << "nothing selected";
  EXPECT_TRUE(offered_.isEmpty()) << "selections set by the program are not offered";

  bool messageShown = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      messageShown = true;
      modal->close();
    }
  });
  Click(PointAt(0, 0));
  Click(PointAt(2, 0), Qt::ShiftModifier);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_TRUE(offered_.isEmpty());
  EXPECT_FALSE(messageShown);
  Key(Qt::Key_Up, Qt::ShiftModifier);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(offered_, QStringList{QStringLiteral("0123\n56")});
}

TEST_F(ResultViewPrimarySelectionTest, TheSystemPrimarySelectionGetsTheTextWhereThePlatformHasOne) {
  ResultViewTest::Show("ab\ncd");
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard->supportsSelection()) GTEST_SKIP() << "the platform has no primary selection";
  clipboard->setText(QStringLiteral("untouched"), QClipboard::Selection);
  Drag(PointAt(0, 1), PointAt(1, 1));
  EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("b\nc"));
}

}  // namespace
}  // namespace quillon::testing
