#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/help_text.h"
#include "cli/revert_files.h"
#include "qtwindow/main_window.h"
#include "qtwindow/widget_text.h"
#include "window/layout.h"

namespace {

// The file dialog gives full paths; a file named on the command line is shown the same way.
std::string FullPath(const std::string& file) { return std::filesystem::absolute(file).string(); }

int RunWindow(char* programName, const quillon::OpenWindow& request) {
  // The toolkit sees only the program's name: the arguments were ours, and a file named like
  // one of its options must not be taken for one.
  int toolkitArgc = 1;
  char* toolkitArgv[] = {programName, nullptr};
  QApplication application(toolkitArgc, toolkitArgv);
  // Only the name: a display name would be appended to the window's caption.
  QApplication::setApplicationName(quillon::WidgetText(quillon::kApplicationName));
  // The installed quillon.desktop: lets a dock or task bar match the window to its entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("quillon"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillon.svg")));
  quillon::MainWindow window;
  if (request.File && !request.File->empty()) window.ChooseInput(FullPath(*request.File));
  window.show();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  try {
    // Decided before any QApplication exists: the command-line forms need no display.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    quillon::CommandLine commandLine;
    try {
      commandLine = quillon::ParseCommandLine(arguments);
    } catch (const quillon::UsageError& error) {
      std::fputs(quillon::UsageErrorText(error.what()).c_str(), stderr);
      return 2;
    }
    if (const auto* window = std::get_if<quillon::OpenWindow>(&commandLine)) {
      static char fallbackName[] = "quillon";
      return RunWindow(argc > 0 ? argv[0] : fallbackName, *window);
    }
    return quillon::RunWithoutWindow(commandLine);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillon: %s\n", error.what());
    return 1;
  }
}
