#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <vector>

#include "tests/qt/window_fixture.h"

namespace quillon {
namespace {

using testing::MessageCatcher;
using testing::ShownWindow;

QWidget* ControlWidget(const MainWindow& window, const QString& name) {
  return window.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

// The control of the window under `point`, rather than a part of it such as a scroll bar.
QWidget* ControlAt(const MainWindow& window, QPoint point) {
  QWidget* widget = window.childAt(point);
  while (widget != nullptr && widget->parentWidget() != &window) widget = widget->parentWidget();
  return widget;
}

TEST(WindowLayout, TheWindowHasItsCaptionAndAFixedClientSize) {
  const ShownWindow shown;
  const QSize client(875, 524);
  EXPECT_EQ(shown.window.size(), client);
  EXPECT_EQ(shown.window.minimumSize(), client);
  EXPECT_EQ(shown.window.maximumSize(), client);
  EXPECT_EQ(shown.window.windowTitle(), "Tornello (Textfiles only)");
  ASSERT_NE(shown.window.windowHandle(), nullptr);
  EXPECT_EQ(shown.window.windowHandle()->title(), "Tornello (Textfiles only)");
}

TEST(WindowLayout, EveryControlSitsAtItsRectangleInCreationOrder) {
  const ShownWindow shown;
  struct Placed {
    QString name;
    QRect rect;
  };
  // Left, top, width, height in logical pixels, in the order the window creates them.
  const std::vector<Placed> expected = {
      {"progressBar", {8, 512, 857, 9}},          {"revertLineOption", {400, 32, 97, 17}},
      {"lineKeepOption", {248, 32, 97, 17}},      {"simpleRevertOption", {64, 32, 97, 17}},
      {"resultBox", {8, 56, 857, 457}},           {"revertButton", {712, 8, 113, 33}},
      {"chooseFileButton", {16, 8, 33, 17}},      {"fileLabel", {64, 8, 625, 17}},
  };
  std::vector<QString> expectedOrder;
  for (const Placed& placed : expected) {
    const QWidget* widget = ControlWidget(shown.window, placed.name);
    ASSERT_NE(widget, nullptr) << placed.name.toStdString();
    EXPECT_EQ(widget->geometry(), placed.rect) << placed.name.toStdString();
    EXPECT_TRUE(widget->isVisible()) << placed.name.toStdString();
    EXPECT_TRUE(widget->isEnabled()) << placed.name.toStdString();
    expectedOrder.push_back(placed.name);
  }
  std::vector<QString> order;
  for (const QObject* child : shown.window.children())
    if (child->isWidgetType() && !child->objectName().isEmpty()) order.push_back(child->objectName());
  EXPECT_EQ(order, expectedOrder);

  // The members are the widgets of those names.
  const auto& controls = shown.controls();
  EXPECT_EQ(controls.progressBar, ControlWidget(shown.window, "progressBar"));
  EXPECT_EQ(controls.simpleRevertOption, ControlWidget(shown.window, "simpleRevertOption"));
  EXPECT_EQ(controls.lineKeepOption, ControlWidget(shown.window, "lineKeepOption"));
  EXPECT_EQ(controls.revertLineOption, ControlWidget(shown.window, "revertLineOption"));
  EXPECT_EQ(controls.resultBox, ControlWidget(shown.window, "resultBox"));
  EXPECT_EQ(controls.revertButton, ControlWidget(shown.window, "revertButton"));
  EXPECT_EQ(controls.chooseFileButton, ControlWidget(shown.window, "chooseFileButton"));
  EXPECT_EQ(controls.fileLabel, ControlWidget(shown.window, "fileLabel"));

  // The bar's top row lies under the result box's bottom row; the rest of the bar shows.
  EXPECT_EQ(ControlAt(shown.window, {400, 512}), controls.resultBox);
  EXPECT_EQ(ControlAt(shown.window, {400, 513}), controls.progressBar);
}

TEST(WindowLayout, ControlsCarryTheirTextsAndTooltips) {
  const ShownWindow shown;
  const auto& controls = shown.controls();
  EXPECT_EQ(controls.chooseFileButton->text(), "...");
  EXPECT_EQ(controls.revertButton->text(), "Revert");
  EXPECT_EQ(controls.simpleRevertOption->text(), "Simple Revert");
  EXPECT_EQ(controls.lineKeepOption->text(), "Line keep");
  EXPECT_EQ(controls.revertLineOption->text(), "Revert Line");
  EXPECT_EQ(controls.simpleRevertOption->toolTip(), "Just reverses a file complete");
  EXPECT_EQ(controls.lineKeepOption->toolTip(), "Reverse a File but Keep lines readable");
  EXPECT_EQ(controls.revertLineOption->toolTip(), "Read from beginning, but reverse line content");
  for (const QWidget* widget : std::initializer_list<const QWidget*>{controls.chooseFileButton, controls.revertButton,
                                                                     controls.fileLabel, controls.resultBox, controls.progressBar})
    EXPECT_TRUE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
  for (const QRadioButton* option : controls.ModeOptions())
    EXPECT_LE(option->sizeHint().width(), option->width()) << option->text().toStdString() << " is cut";
}

TEST(WindowLayout, StartsWithLineKeepSelectedAndFocusOnTheFileButton) {
  const ShownWindow shown;
  const auto& controls = shown.controls();
  EXPECT_FALSE(controls.simpleRevertOption->isChecked());
  EXPECT_TRUE(controls.lineKeepOption->isChecked());
  EXPECT_FALSE(controls.revertLineOption->isChecked());
  EXPECT_EQ(shown.window.focusWidget(), controls.chooseFileButton);
  EXPECT_TRUE(controls.fileLabel->text().isEmpty());
  EXPECT_TRUE(shown.ResultShown().isEmpty());
  EXPECT_EQ(controls.progressBar->minimum(), 0);
  EXPECT_EQ(controls.progressBar->maximum(), 100);
  EXPECT_EQ(controls.progressBar->value(), 0);
  EXPECT_EQ(controls.progressBar->orientation(), Qt::Horizontal);
  EXPECT_TRUE(controls.revertButton->isEnabled());
  EXPECT_TRUE(shown.window.controller().InputPath().empty());
  EXPECT_TRUE(shown.window.controller().OutputPath().empty());
  for (const QPushButton* button : {controls.chooseFileButton, controls.revertButton}) {
    EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
    EXPECT_FALSE(button->autoDefault()) << button->text().toStdString();
  }
  EXPECT_EQ(controls.fileLabel->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(controls.progressBar->focusPolicy(), Qt::NoFocus);
}

std::vector<QString> FocusAfterTabs(int tabs, Qt::Key key) {
  std::vector<QString> visited;
  for (int i = 0; i < tabs; ++i) {
    QTest::keyClick(QApplication::focusWidget(), key);
    visited.push_back(QApplication::focusWidget()->objectName());
  }
  return visited;
}

TEST(WindowLayout, TabGoesThroughTheControlsAndEntersTheModesAtTheSelectedOne) {
  ShownWindow shown;
  shown.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
  ASSERT_EQ(QApplication::focusWidget(), shown.controls().chooseFileButton);
  EXPECT_EQ(FocusAfterTabs(5, Qt::Key_Tab),
            (std::vector<QString>{"revertButton", "resultBox", "lineKeepOption", "chooseFileButton", "revertButton"}));

  // Choosing another mode moves the group's entry to it.
  shown.SelectMode(RevertMode::RevertLine);
  shown.controls().chooseFileButton->setFocus();
  EXPECT_EQ(FocusAfterTabs(3, Qt::Key_Tab), (std::vector<QString>{"revertButton", "resultBox", "revertLineOption"}));
  EXPECT_EQ(FocusAfterTabs(2, Qt::Key_Backtab), (std::vector<QString>{"resultBox", "revertButton"}));
}

TEST(WindowLayout, EnterPressesOnlyTheButtonThatHasFocus) {
  ShownWindow shown;
  shown.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
  const MessageCatcher catcher;
  for (QWidget* focus : std::initializer_list<QWidget*>{shown.controls().lineKeepOption, shown.controls().resultBox}) {
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Return);
    QTest::keyClick(focus, Qt::Key_Enter);
  }
  EXPECT_TRUE(catcher.messages.empty()) << "Revert was pressed";
  EXPECT_TRUE(shown.chooser.lastChoicesSeen.empty()) << "\"...\" was pressed";

  // Having focus, Revert is pressed with Space, and reports the missing input.
  shown.controls().revertButton->setFocus();
  QTest::keyClick(shown.controls().revertButton, Qt::Key_Space);
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text, "no Infile");
}

}  // namespace
}  // namespace quillon
