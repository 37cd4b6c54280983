#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bench/byte_count.h"
#include "bench/run_command.h"
#include "bench/table_command.h"
#include "bench/text_maker.h"
#include "bench/command_line.h"
#include "bench/usage_error.h"

namespace {

using namespace quillon::bench;

constexpr const char* kUsage =
    "usage: quillon-bench table [--size BYTES] [--repeat N]\n"
    "       quillon-bench run MODE FILE        (MODE: simple-revert, line-keep, revert-line)\n"
    "       quillon-bench make-text FILE BYTES [lf|crlf]\n";

LineBreak LineBreakNamed(std::string_view name) {
  if (name == "lf") return LineBreak::LF;
  if (name == "crlf") return LineBreak::CRLF;
  throw UsageError("line breaks are lf or crlf, not \"" + std::string(name) + "\"");
}

int Dispatch(const std::vector<std::string_view>& arguments) {
  if (arguments.empty()) throw UsageError("no command given");
  const std::string_view command = arguments[0];
  const std::size_t count = arguments.size() - 1;
  if (command == "run" && count == 2) return RunCommand(arguments[1], std::string(arguments[2]));
  if (command == "make-text" && (count == 2 || count == 3)) {
    WriteTextFile(std::string(arguments[1]), ParseByteCount(arguments[2]), count == 3 ? LineBreakNamed(arguments[3]) : LineBreak::LF);
    return 0;
  }
  if (command == "table") {
    TableCommand(ParseTableOptions(std::span(arguments).subspan(1)));
    return 0;
  }
  throw UsageError("unknown command or wrong number of arguments");
}

}  // namespace

int main(int argc, char** argv) { return RunCommandLine("quillon-bench", kUsage, argc, argv, Dispatch); }
