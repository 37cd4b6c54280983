#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/help_text.h"

namespace quillon {
namespace {

// A parse's outcome spelled out, so that one table can hold every kind.
std::string Outcome(const std::vector<std::string>& arguments) {
  try {
    const CommandLine parsed = ParseCommandLine(arguments);
    if (std::holds_alternative<ShowHelp>(parsed)) return "help";
    if (std::holds_alternative<ShowVersion>(parsed)) return "version";
    if (const auto* window = std::get_if<OpenWindow>(&parsed)) return "window " + window->File.value_or("<none>");
    const auto& files = std::get<RevertFiles>(parsed);
    std::string text = "mode " + std::to_string(static_cast<int>(files.Mode));
    for (const std::string& file : files.Files) text += " [" + file + "]";
    if (files.Output) text += " to [" + *files.Output + "]";
    if (files.Bytes) text += " as bytes";
    return text;
  } catch (const UsageError& error) {
    return std::string("usage error: ") + error.what();
  }
}

struct Case {
  std::vector<std::string> arguments;
  std::string outcome;
};

// Modes by number: 0 simple-revert, 1 line-keep, 2 revert-line.
TEST(CommandLine, EachFormAndEachUsageError) {
  const std::vector<Case> cases = {
      // The window.
      {{}, "window <none>"},
      {{"notes.txt"}, "window notes.txt"},
      {{"--", "--mode"}, "window --mode"},
      {{"\xFF\xFE.txt"}, "window \xFF\xFE.txt"},
      // Without a window, every spelling of the options.
      {{"--mode", "simple-revert", "a"}, "mode 0 [a]"},
      {{"--mode=line-keep", "a", "b"}, "mode 1 [a] [b]"},
      {{"-m", "revert-line", "a"}, "mode 2 [a]"},
      {{"-mrevert-line", "a"}, "mode 2 [a]"},
      {{"--mo=line-keep", "a"}, "mode 1 [a]"},
      {{"a", "--mode", "line-keep", "b"}, "mode 1 [a] [b]"},
      {{"--mode", "line-keep", "--mode", "simple-revert", "a"}, "mode 0 [a]"},
      {{"--mode", "line-keep", "--output", "out.txt", "a"}, "mode 1 [a] to [out.txt]"},
      {{"--mode=line-keep", "--output=-", "a"}, "mode 1 [a] to [-]"},
      {{"-m", "line-keep", "-o", "-", "a"}, "mode 1 [a] to [-]"},
      {{"--mode", "line-keep", "--", "-o"}, "mode 1 [-o]"},
      {{"--mode", "line-keep", "-"}, "mode 1 [-]"},
      // Standard input: no FILE at all, or "-" among them.
      {{"--mode", "line-keep"}, "mode 1 [-]"},
      {{"-m", "revert-line", "-o", "out.txt"}, "mode 2 [-] to [out.txt]"},
      {{"-m", "simple-revert", "--bytes"}, "mode 0 [-] as bytes"},
      {{"-m", "simple-revert", "a", "-", "b"}, "mode 0 [a] [-] [b]"},
      {{"-m", "simple-revert", "-", "-"}, "mode 0 [-] [-]"},
      {{"--mode", "simple-revert", "--bytes", "a"}, "mode 0 [a] as bytes"},
      {{"a", "--bytes", "-m", "revert-line", "-o", "-"}, "mode 2 [a] to [-] as bytes"},
      {{"--by", "--mode=line-keep", "a", "b"}, "mode 1 [a] [b] as bytes"},
      // Help and version win over anything after them.
      {{"--help"}, "help"},
      {{"--version"}, "version"},
      {{"--mode", "line-keep", "--help", "--bogus"}, "help"},
      {{"a", "b", "--version"}, "version"},
      // Usage errors.
      {{"--bogus"}, "usage error: unrecognized option '--bogus'"},
      {{"--bogus=1"}, "usage error: unrecognized option '--bogus=1'"},
      {{"-x"}, "usage error: invalid option -- 'x'"},
      {{"-h"}, "usage error: invalid option -- 'h'"},
      {{"--mode"}, "usage error: option '--mode' requires an argument"},
      {{"a", "-m"}, "usage error: option requires an argument -- 'm'"},
      {{"--mode", "line-keep", "a", "-o"}, "usage error: option requires an argument -- 'o'"},
      {{"--help=yes"}, "usage error: option '--help' doesn't allow an argument"},
      {{"--version=2"}, "usage error: option '--version' doesn't allow an argument"},
      {{"--mode", "Line keep", "a"},
       "usage error: invalid mode 'Line keep' (choose simple-revert, line-keep or revert-line)"},
      {{"--mode=", "a"}, "usage error: invalid mode '' (choose simple-revert, line-keep or revert-line)"},
      {{"--mode", "line-keep", "--output", "o", "a", "b"}, "usage error: --output works with one FILE only"},
      {{"--mode", "line-keep", "--output", "o", "-", "b"}, "usage error: --output works with one FILE only"},
      {{"--mode", "line-keep", "--output=", "a"}, "usage error: the output path is empty"},
      {{"--output", "o", "a"}, "usage error: --output works only with --mode"},
      {{"--bytes", "a"}, "usage error: --bytes works only with --mode"},
      {{"--bytes=yes", "-m", "line-keep", "a"}, "usage error: option '--bytes' doesn't allow an argument"},
      {{"a", "b"}, "usage error: extra operand 'b'; the window opens one FILE"},
  };
  for (const Case& test : cases) {
    std::string shown;
    for (const std::string& argument : test.arguments) shown += "[" + argument + "] ";
    SCOPED_TRACE(shown);
    EXPECT_EQ(Outcome(test.arguments), test.outcome);
  }
}

TEST(CommandLine, AUsageErrorSaysWhatIsWrongAndWhereHelpIs) {
  EXPECT_EQ(UsageErrorText("missing file operand"),
            "quillon: missing file operand\nTry 'quillon --help' for more information.\n");
}

TEST(CommandLine, TheHelpNamesEveryModeAndOption) {
  const std::string help = HelpText();
  for (const char* word : {"simple-revert", "line-keep", "revert-line", "--mode=MODE", "--output=PATH", "--bytes", "--help", "--version"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
  EXPECT_TRUE(help.starts_with("Usage: quillon [FILE]\n"));
  EXPECT_TRUE(VersionText().starts_with("quillon "));
}

}  // namespace
}  // namespace quillon
