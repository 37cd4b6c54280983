#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "bench/byte_count.h"

namespace quillon::bench {

struct TableOptions {
  std::uint64_t Bytes = kGiB;
  int Repeats = 3;
};

// `--size BYTES` and `--repeat N`. Throws UsageError for anything else.
TableOptions ParseTableOptions(std::span<const std::string_view> arguments);

// `quillon-bench table`: times cp, tac, rev and the three modes side by side on the cached
// texts and prints the table, with the targets met or missed.
void TableCommand(const TableOptions& options);

}  // namespace quillon::bench
