#include <QApplication>
#include <cstdio>
#include <exception>

#include "qtwindow/main_window.h"
#include "window/layout.h"

int main(int argc, char* argv[]) {
  try {
    QApplication application(argc, argv);
    // Only the name: a display name would be appended to the window's caption.
    QApplication::setApplicationName(
        QString::fromUtf8(quillon::kApplicationName.data(), static_cast<qsizetype>(quillon::kApplicationName.size())));
    quillon::MainWindow window;
    window.show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillon: %s\n", error.what());
    return 1;
  }
}
