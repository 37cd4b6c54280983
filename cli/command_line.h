#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "modes/run_mode.h"

namespace quillon {

// `quillon [FILE]`: the window, with FILE chosen as if picked with "...".
struct OpenWindow {
  std::optional<std::string> File;
};

// The FILE, or output, that names standard input, or standard output.
inline constexpr std::string_view kStandardStream = "-";

// `quillon --mode MODE [--output PATH] [--bytes] [FILE...]`: every FILE reverted without a
// window; a FILE "-", or none at all, is standard input.
struct RevertFiles {
  RevertMode Mode = RevertMode::LineKeep;
  std::vector<std::string> Files;
  // Where the one FILE's result goes instead of FILE_rev.txt (or standard output, for
  // standard input); "-" is standard output.
  std::optional<std::string> Output;
  // Reads even a UTF-8 FILE byte by byte.
  bool Bytes = false;
};

struct ShowHelp {};
struct ShowVersion {};

using CommandLine = std::variant<OpenWindow, RevertFiles, ShowHelp, ShowVersion>;

// Arguments that make no sense together or that the program does not know; the message
// says what is wrong, in the words of GNU programs.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the arguments after the program's name ask for. Throws UsageError.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

}  // namespace quillon
