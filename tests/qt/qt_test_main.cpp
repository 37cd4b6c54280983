#include <gtest/gtest.h>

#include <QApplication>

#include "window/layout.h"

int main(int argc, char* argv[]) {
  // The widgets are real but never need a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName(
      QString::fromUtf8(quillon::kApplicationName.data(), static_cast<qsizetype>(quillon::kApplicationName.size())));
  // Tests close windows without an application event loop; nothing must end the application.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
