#include "cli/command_line.h"

#include <getopt.h>

#include <string_view>

#include "cli/mode_names.h"

namespace quillon {

namespace {

// Values of the long options that have no short form; above every character.
enum : int { kHelp = 256, kVersion, kBytes };

// Room is left between the entries for options to come.
constexpr option kOptions[] = {
    {"mode", required_argument, nullptr, 'm'},
    {"output", required_argument, nullptr, 'o'},
    {"bytes", no_argument, nullptr, kBytes},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// ':' first: a missing argument is told apart from an unknown option, and getopt prints nothing.
constexpr const char* kShortOptions = ":m:o:";

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string_view LongNameOf(int value) {
  for (const option& entry : kOptions)
    if (entry.name != nullptr && entry.val == value) return entry.name;
  return {};
}

RevertMode ModeArgument(std::string_view name) {
  if (const std::optional<RevertMode> mode = ModeNamed(name)) return *mode;
  throw UsageError("invalid mode " + Quoted(name) + " (choose simple-revert, line-keep or revert-line)");
}

// The message for getopt's '?' or ':', from the argument it stopped at.
std::string OptionProblem(int result, std::string_view argument) {
  const bool longForm = argument.starts_with("--");
  // Some getopt_long (the BSD one on Windows) answer ':' also for "--help=yes": an argument
  // after '=' was given, so it cannot be missing.
  if (result == ':' && longForm && argument.find('=') != std::string_view::npos) result = '?';
  if (result == ':') {
    if (longForm) return "option " + Quoted(argument) + " requires an argument";
    return "option requires an argument -- " + Quoted(std::string(1, static_cast<char>(optopt)));
  }
  if (optopt == 0) return "unrecognized option " + Quoted(argument);
  if (optopt > 255 || longForm) return "option " + Quoted("--" + std::string(LongNameOf(optopt))) + " doesn't allow an argument";
  return "invalid option -- " + Quoted(std::string(1, static_cast<char>(optopt)));
}

// getopt_long works on a writable argv of its own, and keeps its place in globals.
class ArgumentVector {
 public:
  explicit ArgumentVector(std::span<const std::string> arguments) : strings_{"quillon"} {
    strings_.insert(strings_.end(), arguments.begin(), arguments.end());
    for (std::string& text : strings_) pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
    optind = 0;  // 0, not 1: glibc then starts afresh, forgetting any earlier parse
    opterr = 0;
  }

  [[nodiscard]] int count() const noexcept { return static_cast<int>(strings_.size()); }
  [[nodiscard]] char** data() noexcept { return pointers_.data(); }
  [[nodiscard]] std::string_view at(int index) const { return pointers_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
};

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
  ArgumentVector argv(arguments);
  std::optional<RevertMode> mode;
  std::optional<std::string> output;
  bool bytes = false;
  for (;;) {
    const int result = getopt_long(argv.count(), argv.data(), kShortOptions, kOptions, nullptr);
    if (result == -1) break;
    switch (result) {
      case 'm':
        mode = ModeArgument(optarg);
        break;
      case 'o':
        output = optarg;
        if (output->empty()) throw UsageError("the output path is empty");
        break;
      case kBytes:
        bytes = true;
        break;
      case kHelp:
        return ShowHelp{};
      case kVersion:
        return ShowVersion{};
      default:
        throw UsageError(OptionProblem(result, argv.at(optind - 1)));
    }
  }

  std::vector<std::string> files;
  for (int index = optind; index < argv.count(); ++index) files.emplace_back(argv.at(index));

  if (!mode) {
    if (output) throw UsageError("--output works only with --mode");
    if (bytes) throw UsageError("--bytes works only with --mode");
    if (files.size() > 1) throw UsageError("extra operand " + Quoted(files[1]) + "; the window opens one FILE");
    return OpenWindow{files.empty() ? std::nullopt : std::optional(files[0])};
  }
  // As for every text tool of a shell, no FILE reads standard input.
  if (files.empty()) files.emplace_back(kStandardStream);
  if (output && files.size() > 1) throw UsageError("--output works with one FILE only");
  return RevertFiles{*mode, std::move(files), std::move(output), bytes};
}

}  // namespace quillon
