#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bench/gui/gui_table.h"
#include "bench/byte_count.h"
#include "bench/gui/plain_text_probe.h"
#include "bench/gui/utf8_view_probe.h"
#include "bench/gui/window_probe.h"
#include "bench/command_line.h"
#include "bench/usage_error.h"

namespace {

using namespace quillon::bench;

constexpr const char* kUsage =
    "usage: quillon-gui-bench [table] [--sizes 1MiB,100MiB,1GiB]\n"
    "       quillon-gui-bench window MODE FILE    (one measurement; MODE: simple-revert, line-keep, revert-line)\n"
    "       quillon-gui-bench plain-text FILE     (QPlainTextEdit on FILE)\n"
    "       quillon-gui-bench utf8-view SIZE      (the result view alone on one UTF-8 line of SIZE)\n";

int Dispatch(std::vector<std::string_view> arguments) {
  if (arguments.empty() || arguments[0].starts_with("--")) arguments.insert(arguments.begin(), "table");
  const std::string_view command = arguments[0];
  const std::size_t count = arguments.size() - 1;
  if (command == "window" && count == 2) return WindowProbe(arguments[1], std::string(arguments[2]));
  if (command == "plain-text" && count == 1) return PlainTextProbe(std::string(arguments[1]));
  if (command == "utf8-view" && count == 1) return Utf8ViewProbe(ParseByteCount(arguments[1]));
  if (command == "table") {
    GuiTableCommand(ParseGuiTableOptions(std::span(arguments).subspan(1)));
    return 0;
  }
  throw UsageError("unknown command or wrong number of arguments");
}

}  // namespace

int main(int argc, char** argv) { return RunCommandLine("quillon-gui-bench", kUsage, argc, argv, Dispatch); }
