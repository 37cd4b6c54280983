#pragma once

#include <string>
#include <vector>

#include "modes/run_mode.h"
#include "tests/fault/io_fault.h"

namespace quillon::testing {

// Where a case clicks "Revert".
enum class Runner {
  InProcess,
  AsUnprivilegedUser,  // in a child process that has given up root for user and group 65534
  UnderFileSizeLimit,  // in a child process whose files may not grow past kFileSizeLimit
};

inline constexpr long kFileSizeLimit = 64 * 1024;

// The user id an unprivileged run has: "nobody" when the tests run as root, else the tests' own.
uid_t UnprivilegedUser();

// What the window showed during one click on "Revert".
struct WindowRun {
  std::vector<std::string> calls;  // the recording surface's calls, in order
  std::string result;              // the result text afterwards
  std::string skipped;             // why the run could not be made here, when it could not

  [[nodiscard]] std::vector<std::string> Messages() const;
};

// Chooses `inputPath` in the window, selects `mode`, and clicks "Revert" with `fault` injected.
// The window runs its modes with small blocks, so that faults strike in the middle of a file.
WindowRun ClickRevert(const std::string& inputPath, RevertMode mode, Runner runner, const IoFault& fault);

}  // namespace quillon::testing
