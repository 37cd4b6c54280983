#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <vector>

#include "tests/qt/window_fixture.h"
#include "window/layout.h"

namespace quillon {
namespace {

using testing::FromUtf8;
using testing::MessageCatcher;
using testing::ShownWindow;

QWidget* ControlWidget(const MainWindow& window, std::string_view name) {
  return window.findChild<QWidget*>(FromUtf8(name), Qt::FindDirectChildrenOnly);
}

QRect PixelsOf(const TwipRect& twips) {
  return {TwipsToPixels(twips.Left), TwipsToPixels(twips.Top), TwipsToPixels(twips.Width), TwipsToPixels(twips.Height)};
}

TEST(WindowLayout, TheWindowHasItsCaptionAndAFixedClientSize) {
  const ShownWindow shown;
  const QSize client(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
  EXPECT_EQ(client, QSize(875, 524));
  EXPECT_EQ(shown.window.size(), client);
  EXPECT_EQ(shown.window.minimumSize(), client);
  EXPECT_EQ(shown.window.maximumSize(), client);
  EXPECT_EQ(shown.window.windowTitle(), FromUtf8(kWindowCaption));
  ASSERT_NE(shown.window.windowHandle(), nullptr);
  EXPECT_EQ(shown.window.windowHandle()->title(), "Tornello (Textfiles only)");
}

TEST(WindowLayout, EveryControlSitsAtItsPixelRectangleInCreationOrder) {
  const ShownWindow shown;
  std::vector<QString> expectedOrder;
  for (const ControlLayout& layout : kControls) {
    if (layout.Kind == ControlKind::FileChooser) {
      EXPECT_EQ(ControlWidget(shown.window, layout.Name), nullptr) << "the chooser is not part of the window";
      continue;
    }
    const QWidget* widget = ControlWidget(shown.window, layout.Name);
    ASSERT_NE(widget, nullptr) << layout.Name;
    EXPECT_EQ(widget->geometry(), PixelsOf(layout.Twips)) << layout.Name;
    EXPECT_TRUE(widget->isVisible()) << layout.Name;
    EXPECT_TRUE(widget->isEnabled()) << layout.Name;
    expectedOrder.push_back(FromUtf8(layout.Name));
  }
  // Later controls lie above earlier ones where they overlap: the result box covers the
  // bar's top row.
  std::vector<QString> order;
  for (const QObject* child : shown.window.children())
    if (child->isWidgetType() && !child->objectName().isEmpty()) order.push_back(child->objectName());
  EXPECT_EQ(order, expectedOrder);
  EXPECT_EQ(shown.controls().progressBar->geometry(), QRect(8, 512, 857, 9));
  EXPECT_EQ(shown.controls().resultBox->geometry(), QRect(8, 56, 857, 457));
}

TEST(WindowLayout, ControlsCarryTheirTextsAndTooltips) {
  const ShownWindow shown;
  const auto& controls = shown.controls();
  EXPECT_EQ(controls.getFileButton->text(), "...");
  EXPECT_EQ(controls.revertButton->text(), "Revert");
  EXPECT_EQ(controls.options[0]->text(), "Simple Revert");
  EXPECT_EQ(controls.options[1]->text(), "Line keep");
  EXPECT_EQ(controls.options[2]->text(), "Revert Line");
  EXPECT_EQ(controls.options[0]->toolTip(), "Just reverses a file complete");
  EXPECT_EQ(controls.options[1]->toolTip(), "Reverse a File but Keep lines readable");
  EXPECT_EQ(controls.options[2]->toolTip(), "Read from beginning, but reverse line content");
  for (const QWidget* widget : std::initializer_list<const QWidget*>{controls.getFileButton, controls.revertButton,
                                                                     controls.fileLabel, controls.resultBox, controls.progressBar})
    EXPECT_TRUE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
  for (const QRadioButton* option : controls.options)
    EXPECT_LE(option->sizeHint().width(), option->width()) << option->text().toStdString() << " is cut";
}

TEST(WindowLayout, StartsWithLineKeepSelectedAndFocusOnTheFileButton) {
  const ShownWindow shown;
  const auto& controls = shown.controls();
  EXPECT_FALSE(controls.options[0]->isChecked());
  EXPECT_TRUE(controls.options[1]->isChecked());
  EXPECT_FALSE(controls.options[2]->isChecked());
  EXPECT_EQ(shown.window.focusWidget(), controls.getFileButton);
  EXPECT_TRUE(controls.fileLabel->text().isEmpty());
  EXPECT_TRUE(shown.ResultShown().isEmpty());
  EXPECT_EQ(controls.progressBar->minimum(), 0);
  EXPECT_EQ(controls.progressBar->maximum(), 100);
  EXPECT_EQ(controls.progressBar->value(), 0);
  EXPECT_EQ(controls.progressBar->orientation(), Qt::Horizontal);
  EXPECT_TRUE(controls.revertButton->isEnabled());
  EXPECT_TRUE(shown.window.form().InputPath().empty());
  EXPECT_TRUE(shown.window.form().OutputPath().empty());
  for (const QPushButton* button : {controls.getFileButton, controls.revertButton}) {
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
  ASSERT_EQ(QApplication::focusWidget(), shown.controls().getFileButton);
  EXPECT_EQ(FocusAfterTabs(5, Qt::Key_Tab),
            (std::vector<QString>{"btnRevert", "txtResult", "optRvtType(1)", "btnGetFile", "btnRevert"}));

  // Choosing another mode moves the group's entry to it.
  shown.SelectMode(2);
  shown.controls().getFileButton->setFocus();
  EXPECT_EQ(FocusAfterTabs(3, Qt::Key_Tab), (std::vector<QString>{"btnRevert", "txtResult", "optRvtType(2)"}));
  EXPECT_EQ(FocusAfterTabs(2, Qt::Key_Backtab), (std::vector<QString>{"txtResult", "btnRevert"}));
}

TEST(WindowLayout, EnterPressesOnlyTheButtonThatHasFocus) {
  ShownWindow shown;
  shown.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
  const MessageCatcher catcher;
  for (QWidget* focus : std::initializer_list<QWidget*>{shown.controls().options[1], shown.controls().resultBox}) {
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
