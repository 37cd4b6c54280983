#include "bench/byte_count.h"

#include <array>
#include <charconv>
#include <limits>
#include <utility>

#include "bench/usage_error.h"

namespace quillon::bench {

namespace {

constexpr std::array<std::pair<std::string_view, std::uint64_t>, 7> kUnits{{
    {"", 1},
    {"K", std::uint64_t{1} << 10},
    {"KiB", std::uint64_t{1} << 10},
    {"M", kMiB},
    {"MiB", kMiB},
    {"G", kGiB},
    {"GiB", kGiB},
}};

}  // namespace

std::uint64_t ParseByteCount(std::string_view text) {
  std::uint64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  const std::string_view suffix(end, static_cast<std::size_t>(text.data() + text.size() - end));
  if (error != std::errc() || number == 0)
    throw UsageError("not a byte count above 0: \"" + std::string(text) + "\" (examples: 1GiB, 64MiB, 4096)");
  for (const auto& [name, factor] : kUnits) {
    if (suffix != name) continue;
    if (number > std::numeric_limits<std::uint64_t>::max() / factor)
      throw UsageError("byte count too large: \"" + std::string(text) + "\"");
    return number * factor;
  }
  throw UsageError("unknown unit in \"" + std::string(text) + "\" (use K, KiB, M, MiB, G or GiB)");
}

std::string DescribeByteCount(std::uint64_t bytes) {
  if (bytes % kGiB == 0) return std::to_string(bytes / kGiB) + " GiB";
  if (bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace quillon::bench
