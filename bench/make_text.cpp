// quillon-make-text FILE BYTES [lf|crlf] [ascii|european|cjk|emoji]: writes the benchmark's text
// of exactly BYTES bytes.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

#include "bench/text_maker.h"

namespace {

constexpr const char* kUsage = "usage: quillon-make-text FILE BYTES [lf|crlf] [ascii|european|cjk|emoji]\n";

bool ParseCount(std::string_view text, std::uint64_t& bytes) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
  return error == std::errc() && end == text.data() + text.size();
}

std::optional<quillon::bench::Script> ScriptNamed(std::string_view name) {
  using quillon::bench::Script;
  if (name == "ascii") return Script::Ascii;
  if (name == "european") return Script::European;
  if (name == "cjk") return Script::Cjk;
  if (name == "emoji") return Script::Emoji;
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  using quillon::bench::LineBreak;
  std::uint64_t bytes = 0;
  const std::string_view breaks = argc >= 4 ? argv[3] : "lf";
  const std::optional<quillon::bench::Script> script = ScriptNamed(argc == 5 ? argv[4] : "ascii");
  if (argc < 3 || argc > 5 || !ParseCount(argv[2], bytes) || (breaks != "lf" && breaks != "crlf") || !script) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    quillon::bench::WriteTextFile(argv[1], bytes, breaks == "crlf" ? LineBreak::CRLF : LineBreak::LF, *script);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillon-make-text: %s\n", error.what());
    return 1;
  }
  return 0;
}
