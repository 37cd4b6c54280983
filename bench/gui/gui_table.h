#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quillon::bench {

struct GuiTableOptions {
  std::vector<std::uint64_t> Sizes;
};

// "--sizes 1MiB,100MiB,1GiB" (the default). Throws UsageError for anything else.
GuiTableOptions ParseGuiTableOptions(std::span<const std::string_view> arguments);

// Measures the window in every mode on a cached LF text of each size, each run in a child
// of its own beside cp of the same file, and prints the table with the targets, then the cost
// of a stock QPlainTextEdit on 100 MiB.
void GuiTableCommand(const GuiTableOptions& options);

}  // namespace quillon::bench
