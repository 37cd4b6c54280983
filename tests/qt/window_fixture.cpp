#include "tests/qt/window_fixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

namespace quillon::testing {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString ShownText(ResultView& view) { return view.text({}, view.endPosition()); }

ShownWindow::ShownWindow() {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) throw std::runtime_error("the window was never exposed");
}

void ShownWindow::Choose(std::optional<std::string> reply) {
  chooser.replies.push_back(std::move(reply));
  QTest::mouseClick(controls().chooseFileButton, Qt::LeftButton);
}

void ShownWindow::ClickRevert() { QTest::mouseClick(controls().revertButton, Qt::LeftButton); }

void ShownWindow::SelectMode(RevertMode mode) { QTest::mouseClick(controls().ModeOption(mode), Qt::LeftButton); }

MessageCatcher::MessageCatcher() {
  poll_.setInterval(std::chrono::milliseconds(5));
  QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    messages.push_back({box->windowTitle(), box->text(), box->standardButtons()});
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    if (ok != nullptr)
      ok->click();
    else
      box->reject();
  });
  poll_.start();
}

WhenReady::WhenReady(std::function<bool()> ready, std::function<void()> action) {
  poll_.setInterval(std::chrono::milliseconds(1));
  QObject::connect(&poll_, &QTimer::timeout, &poll_, [this, ready = std::move(ready), action = std::move(action)] {
    if (done_ || !ready()) return;
    done_ = true;
    poll_.stop();
    action();
  });
  poll_.start();
}

::testing::AssertionResult IsIdle(const ShownWindow& shown) {
  const auto& controls = shown.controls();
  if (!controls.revertButton->isEnabled()) return ::testing::AssertionFailure() << "Revert is disabled";
  if (QApplication::overrideCursor() != nullptr) return ::testing::AssertionFailure() << "the wait pointer is still set";
  if (controls.progressBar->value() != 0)
    return ::testing::AssertionFailure() << "the bar shows " << controls.progressBar->value();
  return ::testing::AssertionSuccess();
}

}  // namespace quillon::testing
