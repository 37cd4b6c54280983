#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <vector>

#include "tests/qt/window_fixture.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::MessageCatcher;
using testing::ReadWhole;
using testing::ShownWindow;
using testing::TempFolder;

QUrl FileUrl(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

// Drags `data` over the window and drops it; whether the window took the drag.
bool DragAndDropData(QWidget& window, const QMimeData& data) {
  const QPointF point(400, 200);
  QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
  return drop.isAccepted();
}

bool DragAndDrop(QWidget& window, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  return DragAndDropData(window, data);
}

TEST(Drop, ADroppedFileIsTakenAsIfChosenWithTheDialog) {
  const TempFolder folder;
  const std::string path = folder.Write("dropped.txt", "x\n");
  ShownWindow shown;
  EXPECT_TRUE(DragAndDrop(shown.window, {FileUrl(path)}));
  EXPECT_EQ(shown.window.controller().InputPath(), path);
  EXPECT_EQ(shown.window.controller().OutputPath(), path + "_rev.txt");
  EXPECT_EQ(shown.controls().fileLabel->text().toStdString(), path);
  EXPECT_TRUE(shown.chooser.lastChoicesSeen.empty()) << "no dialog";

  // The dialog then opens at the dropped file.
  shown.Choose(std::nullopt);
  EXPECT_EQ(shown.chooser.lastChoicesSeen, std::vector<std::string>{path});
}

TEST(Drop, OfSeveralUrlsTheFirstLocalFileIsTaken) {
  const TempFolder folder;
  const std::string first = folder.Write("first.txt", "1");
  const std::string second = folder.Write("second.txt", "2");
  ShownWindow shown;
  EXPECT_TRUE(DragAndDrop(shown.window, {QUrl("https://example.org/a.txt"), FileUrl(folder.path()), FileUrl(first), FileUrl(second)}));
  EXPECT_EQ(shown.window.controller().InputPath(), first);
}

TEST(Drop, AFileNameIsTakenAsTheBytesItIsStoredUnder) {
  const TempFolder folder;
  // 0xE9 alone is no UTF-8: the name's bytes reach the window only in the URL's percent-encoding.
  const std::string latin1 = folder.Write("caf\xE9 1.txt", "ab\n");
  const std::string utf8 = folder.Write("caf\xC3\xA9 2.txt", "cd\n");
  {
    ShownWindow shown;
    const MessageCatcher catcher;
    // As a file manager sends it.
    QMimeData data;
    data.setData("text/uri-list", "file://" + QByteArray::fromStdString(latin1).toPercentEncoding("/") + "\r\n");
    EXPECT_TRUE(DragAndDropData(shown.window, data));
    EXPECT_EQ(shown.window.controller().InputPath(), latin1);
    EXPECT_EQ(shown.controls().fileLabel->text(), QString::fromStdString(folder.path()) + QString::fromStdU16String(u"/caf\uFFFD 1.txt"));
    shown.SelectMode(RevertMode::SimpleRevert);
    shown.ClickRevert();
    EXPECT_TRUE(catcher.messages.empty()) << catcher.messages.front().text.toStdString();
    EXPECT_EQ(ReadWhole(latin1 + "_rev.txt"), "\nba");
  }
  {
    ShownWindow shown;
    EXPECT_TRUE(DragAndDrop(shown.window, {FileUrl(utf8)}));
    EXPECT_EQ(shown.window.controller().InputPath(), utf8);
    EXPECT_EQ(shown.controls().fileLabel->text(), QString::fromStdString(folder.path()) + QString::fromStdU16String(u"/caf\u00E9 2.txt"));
  }
}

// Sends one drag event of type Event offering `actions`, with `modifiers` held; the action the
// window took, or IgnoreAction when it refused.
template <typename Event>
Qt::DropAction Offer(QWidget& window, const QMimeData& data, Qt::DropActions actions, Qt::KeyboardModifiers modifiers,
                     Qt::DropAction proposed) {
  Event event(QPoint(400, 200), actions, &data, Qt::LeftButton, modifiers);
  EXPECT_EQ(event.proposedAction(), proposed) << "the drag offers what the test means it to";
  QCoreApplication::sendEvent(&window, &event);
  return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
}

// Enter, move and drop, each offering `actions`; what the window took at each.
std::vector<Qt::DropAction> OfferAll(QWidget& window, const QMimeData& data, Qt::DropActions actions,
                                     Qt::KeyboardModifiers modifiers, Qt::DropAction proposed) {
  return {Offer<QDragEnterEvent>(window, data, actions, modifiers, proposed),
          Offer<QDragMoveEvent>(window, data, actions, modifiers, proposed),
          Offer<QDropEvent>(window, data, actions, modifiers, proposed)};
}

TEST(Drop, AFileOfferedForMovingIsCopiedOrLinkedNeverMoved) {
  const TempFolder folder;
  const std::string path = folder.Write("dropped.txt", "x\n");
  QMimeData data;
  data.setUrls({FileUrl(path)});
  using Actions = std::vector<Qt::DropAction>;
  {
    // Shift asks for a move where the source allows it.
    ShownWindow shown;
    EXPECT_EQ(OfferAll(shown.window, data, Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier, Qt::MoveAction),
              Actions(3, Qt::CopyAction));
    EXPECT_EQ(shown.window.controller().InputPath(), path);
  }
  {
    ShownWindow shown;
    EXPECT_EQ(OfferAll(shown.window, data, Qt::MoveAction | Qt::LinkAction, Qt::NoModifier, Qt::MoveAction),
              Actions(3, Qt::LinkAction));
    EXPECT_EQ(shown.window.controller().InputPath(), path);
  }
  {
    ShownWindow shown;
    EXPECT_EQ(OfferAll(shown.window, data, Qt::MoveAction, Qt::NoModifier, Qt::MoveAction), Actions(3, Qt::IgnoreAction));
    EXPECT_TRUE(shown.window.controller().InputPath().empty());
  }
}

TEST(Drop, WithoutALocalFileTheDragIsRefused) {
  const TempFolder folder;
  ShownWindow shown;
  EXPECT_FALSE(DragAndDrop(shown.window, {QUrl("https://example.org/a.txt")}));
  EXPECT_FALSE(DragAndDrop(shown.window, {FileUrl(folder.path())}));
  EXPECT_FALSE(DragAndDrop(shown.window, {}));
  EXPECT_TRUE(shown.window.controller().InputPath().empty());
  EXPECT_TRUE(shown.controls().fileLabel->text().isEmpty());
}

}  // namespace
}  // namespace quillon
