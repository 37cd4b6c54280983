// quillon-cli.exe: the command-line forms only, as a console program, which cmd and scripts
// wait for; the window is quillon.exe.
#include <cstdio>
#include <exception>
#include <string>
#include <variant>
#include <vector>

#include "app/windows/parent_console.h"
#include "app/windows/program_arguments.h"
#include "cli/command_line.h"
#include "cli/help_text.h"
#include "cli/revert_files.h"

int main() {
  const quillon::Utf8ConsoleOutput utf8;
  try {
    const std::vector<std::string> arguments = quillon::ProgramArguments();
    quillon::CommandLine commandLine;
    try {
      commandLine = quillon::ParseCommandLine(arguments);
    } catch (const quillon::UsageError& error) {
      std::fputs(quillon::UsageErrorText(error.what()).c_str(), stderr);
      return 2;
    }
    if (std::holds_alternative<quillon::OpenWindow>(commandLine)) {
      std::fputs(
          "quillon-cli: without --mode this would open the window, which is quillon.exe\n"
          "Try 'quillon-cli --help' for more information.\n",
          stderr);
      return 2;
    }
    return quillon::RunWithoutWindow(commandLine);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillon: %s\n", error.what());
    return 1;
  }
}
