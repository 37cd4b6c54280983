// quillon.exe: the window, and the command-line forms for a console that started it.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "app/windows/parent_console.h"
#include "app/windows/program_arguments.h"
#include "cli/command_line.h"
#include "cli/help_text.h"
#include "cli/revert_files.h"
#include "fileio/wide_text.h"
#include "win32window/main_window.h"
#include "win32window/message_loop.h"
#include "window/layout.h"

namespace {

// The Open dialog gives full paths; a file named on the command line is shown the same way.
std::string FullPath(const std::string& file) {
  return quillon::Narrow(std::filesystem::absolute(std::filesystem::path(quillon::Widen(file))).wstring());
}

int RunWindow(const quillon::OpenWindow& request, int show) {
  quillon::MainWindow window;
  window.QuitWhenClosed();
  if (request.File && !request.File->empty()) window.ChooseInput(FullPath(*request.File));
  ::ShowWindow(window.hwnd(), show);
  ::UpdateWindow(window.hwnd());
  return quillon::RunMessageLoop(window);
}

void ShowFailure(const char* what, bool inConsole) {
  if (inConsole) {
    std::fprintf(stderr, "quillon: %s\n", what);
    return;
  }
  ::MessageBoxW(nullptr, quillon::Widen(what).c_str(), quillon::Widen(quillon::kApplicationName).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*ansiCommandLine*/, int show) {
  bool inConsole = false;
  try {
    // Decided before any window exists: the command-line forms need none.
    const std::vector<std::string> arguments = quillon::ProgramArguments();
    quillon::CommandLine commandLine;
    try {
      commandLine = quillon::ParseCommandLine(arguments);
    } catch (const quillon::UsageError& error) {
      const std::string text = quillon::UsageErrorText(error.what());
      if (quillon::UseParentConsole()) {
        const quillon::Utf8ConsoleOutput utf8;
        std::fputs(text.c_str(), stderr);
      } else {
        // Started from Explorer or a shortcut: nowhere to write to.
        ::MessageBoxW(nullptr, quillon::Widen(text).c_str(), quillon::Widen(quillon::kApplicationName).c_str(), MB_OK | MB_ICONERROR);
      }
      return 2;
    }
    if (const auto* window = std::get_if<quillon::OpenWindow>(&commandLine)) return RunWindow(*window, show);
    inConsole = quillon::UseParentConsole();
    const quillon::Utf8ConsoleOutput utf8;
    return quillon::RunWithoutWindow(commandLine);
  } catch (const std::exception& error) {
    ShowFailure(error.what(), inConsole);
    return 1;
  }
}
