#pragma once

#include <string>
#include <string_view>

namespace quillon::bench {

// `quillon-bench run MODE FILE`: runs the mode on FILE as the window does, writing FILE_rev.txt
// and keeping the echo in memory, then prints one line of JSON (mode, bytes, seconds,
// peak_rss_mib). A refused or failed run prints the window's message to stderr instead.
// Returns the exit status.
int RunCommand(std::string_view modeName, const std::string& inputPath);

}  // namespace quillon::bench
