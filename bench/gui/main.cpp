// One measurement of the window, in a process of its own so that peaks of memory never mix;
// script/bench gui runs it for each size and mode and prints the table.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "bench/gui/plain_text_probe.h"
#include "bench/gui/utf8_view_probe.h"
#include "bench/gui/window_probe.h"

namespace {

constexpr const char* kUsage =
    "usage: quillon-gui-bench window MODE FILE    (MODE: simple-revert, line-keep, revert-line)\n"
    "       quillon-gui-bench plain-text FILE     (QPlainTextEdit on FILE)\n"
    "       quillon-gui-bench utf8-view BYTES     (the result view alone on one UTF-8 line of BYTES)\n";

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  try {
    if (command == "window" && argc == 4) return quillon::bench::WindowProbe(argv[2], argv[3]);
    if (command == "plain-text" && argc == 3) return quillon::bench::PlainTextProbe(argv[2]);
    if (command == "utf8-view" && argc == 3) return quillon::bench::Utf8ViewProbe(std::stoull(argv[2]));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillon-gui-bench: %s\n", error.what());
    return 1;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
