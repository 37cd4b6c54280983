#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace quillon::bench {

// Runs a benchmark program's `dispatch` on its arguments and turns what it throws into an
// exit status: 2 with the usage for a UsageError, 1 with the message for anything else.
int RunCommandLine(std::string_view program, std::string_view usage, int argc, char** argv,
                   const std::function<int(std::vector<std::string_view>)>& dispatch);

}  // namespace quillon::bench
