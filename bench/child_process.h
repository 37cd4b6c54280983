#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon::bench {

// What one finished child process cost.
struct ChildCost {
  double WallSeconds = 0;
  double CpuSeconds = 0;  // user and system time together
  double PeakResidentMiB = 0;
};

// Runs `argv` (argv[0] looked up in PATH) with the current environment plus `extraEnvironment`
// ("NAME=value" entries), its standard output sent to `stdoutPath` when given, else to
// /dev/null, and waits for it. Throws std::runtime_error when it cannot be started or does not
// exit with status 0.
ChildCost RunChild(const std::vector<std::string>& argv, const std::optional<std::string>& stdoutPath,
                   const std::vector<std::string>& extraEnvironment = {});

}  // namespace quillon::bench
